# The two commands of the README do all the set-up on a fresh Debian machine.
#   make run    start Quarvel under Wine (ARCH=win32 for the 32-bit build)
#   make test   build both targets and run every suite of both
#   make bench  measure reading large lists (not part of make test)
#   make dist   build both targets' Quarvel.exe and quarvel-read.exe, pack build/dist/Quarvel-VERSION.zip
#   make dist-check  build that zip twice in fresh trees and compare the bytes
#   make clang-check build Quarvel and quarvel-read with the second compiler
#                    (clang, UNICODE), both targets, warnings as errors
ARCH ?= win64

.PHONY: setup build build-win32 build-win64 test run bench dist dist-check clang-check

setup:
	tools/setup.sh

build-win32 build-win64: setup
	cmake --preset $(@:build-%=%) >/dev/null
	cmake --build --preset $(@:build-%=%) -j$$(nproc)

build: build-win32 build-win64

test: build
	tools/run-tests win64 win32

run: build-$(ARCH)
	tools/run-quarvel $(ARCH)

bench: build
	tools/run-bench

dist: setup
	python3 tools/make-dist.py

dist-check: setup
	tools/check-dist

clang-check:
	tools/setup.sh --with-clang
	for preset in clang-win32 clang-win64; do \
	  cmake --preset $$preset >/dev/null && cmake --build --preset $$preset --target Quarvel quarvel-read -j$$(nproc) || exit 1; \
	done

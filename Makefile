# The two commands of the README do all the set-up on a fresh Debian machine.
#   make run    start Quarvel under Wine (ARCH=win32 for the 32-bit build)
#   make test   build both targets and run every suite of both
#   make bench  measure reading large lists (not part of make test)
ARCH ?= win64
TARGETS := win32 win64

.PHONY: setup build test run bench $(addprefix build-,$(TARGETS))

setup:
	tools/setup.sh

build-%: setup
	cmake --preset $* >/dev/null
	cmake --build --preset $* -j$$(nproc)

build: $(addprefix build-,$(TARGETS))

test: build
	tools/run-tests $(TARGETS)

run: setup build-$(ARCH)
	tools/run-quarvel $(ARCH)

bench: build
	tools/run-bench

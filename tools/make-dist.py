#!/usr/bin/env python3
"""Builds Quarvel for both targets and packs the release zip.

    make-dist.py [--build-root DIR]

Builds only the Quarvel and quarvel-read targets of the win32 and win64
presets, in DIR/win32 and DIR/win64 (default: the presets' own build/win32 and
build/win64), and writes DIR/dist/Quarvel-<version>.zip holding the four
executables, README.md, LICENSE and their SHA256SUMS. The version is the FILEVERSION of
res/quarvel.rc, the number Windows shows in the file's properties.

The zip depends on nothing but the bytes it holds: entries sorted, every
entry dated 1980-01-01 (the earliest a zip can say), fixed permissions, one
compression level. Two builds of one commit then give the same zip, which
tools/check-dist proves.
"""
import argparse
import hashlib
import os
import re
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
TARGETS = {"win32": 0x14C, "win64": 0x8664}  # preset -> PE machine it must build
ZIP_DATE = (1980, 1, 1, 0, 0, 0)
# The targets shipped, each as <target>-<preset>.exe in the zip.
PROGRAMS = ("Quarvel", "quarvel-read")


def fail(message):
    sys.exit(f"make-dist: {message}")


def file_version(rc_text):
    found = re.findall(r"^\s*FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*$",
                       rc_text, re.MULTILINE)
    if len(found) != 1:
        fail(f"expected one FILEVERSION line in res/quarvel.rc, found {len(found)}")
    return ".".join(str(int(part)) for part in found[0])


def pe_machine(path):
    with open(path, "rb") as f:
        head = f.read(4096)
    if head[:2] != b"MZ":
        fail(f"{path} is not a Windows executable")
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    if head[pe:pe + 4] != b"PE\0\0":
        fail(f"{path} has no PE header")
    return struct.unpack_from("<H", head, pe + 4)[0]


def build(preset, build_root):
    command = ["cmake", "--preset", preset, "-S", str(SOURCE)]
    if build_root:
        command += ["-B", str(build_root / preset)]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    binary_dir = build_root / preset if build_root else SOURCE / "build" / preset
    subprocess.run(["cmake", "--build", str(binary_dir), "--target", *PROGRAMS,
                    f"-j{os.cpu_count() or 1}"], check=True)
    built = {}
    for target in PROGRAMS:
        exe = binary_dir / "bin" / f"{target}.exe"
        if pe_machine(exe) != TARGETS[preset]:
            fail(f"{exe} is not a {preset} executable")
        built[f"{target}-{preset}.exe"] = exe.read_bytes()
    return built


def sha256sums(entries):
    # sha256sum's own format, so that `sha256sum -c SHA256SUMS` reads it.
    return "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n"
                   for name, data in sorted(entries.items())).encode()


def write_zip(path, entries):
    partial = path.with_name(path.name + ".partial")
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in sorted(entries.items()):
            info = zipfile.ZipInfo(name, date_time=ZIP_DATE)
            info.create_system = 3  # Unix, so that the mode bits below are read
            mode = 0o755 if name.endswith(".exe") else 0o644
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)
    partial.replace(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-root", type=Path,
                        help="build in DIR/win32, DIR/win64 and write DIR/dist")
    args = parser.parse_args()
    build_root = args.build_root.resolve() if args.build_root else None

    version = file_version((SOURCE / "res" / "quarvel.rc").read_text(encoding="utf-8"))
    entries = {}
    for preset in TARGETS:
        entries.update(build(preset, build_root))
    for name in ("README.md", "LICENSE"):
        entries[name] = (SOURCE / name).read_bytes()
    entries["SHA256SUMS"] = sha256sums(entries)

    dist = (build_root or SOURCE / "build") / "dist"
    dist.mkdir(parents=True, exist_ok=True)
    zip_path = dist / f"Quarvel-{version}.zip"
    write_zip(zip_path, entries)
    print(f"make-dist: {zip_path}")
    print(entries["SHA256SUMS"].decode(), end="")


if __name__ == "__main__":
    main()

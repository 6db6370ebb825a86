#!/usr/bin/env python3
"""Quarvel.exe, or quarvel-read.exe, imports no function that starts,
suspends or rewrites a thread. Each has one thread of its own (the console
program's Ctrl+C handler runs on the system's); such imports beside those that
read other programs' memory are what antivirus heuristics take for code
injection. They came once with the statically linked threads library of the
C++ runtime. Nor does either import a library that Windows would look for
beside the program first (one that is not a known system library): those
are loaded from the system folder at run time.

    imports.py OBJDUMP EXECUTABLE
"""

import re
import subprocess
import sys

THREAD_CONTROL = {
    "CreateThread", "CreateRemoteThread", "CreateRemoteThreadEx", "_beginthread", "_beginthreadex",
    "SuspendThread", "ResumeThread", "GetThreadContext", "SetThreadContext", "Wow64SuspendThread",
    "Wow64GetThreadContext", "Wow64SetThreadContext", "QueueUserAPC", "TerminateThread",
}
# Libraries a copy beside the program could stand in for.
LOADED_BY_NAME = {"dwmapi.dll", "uxtheme.dll", "version.dll", "winmm.dll"}


def imports(objdump, executable):
    """(dll, function) for each import by name, from objdump's import tables."""
    listing = subprocess.run([objdump, "-p", executable], check=True, capture_output=True, text=True).stdout
    dll = None
    for line in listing.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1)
        elif line.startswith("The ") or line.startswith("PE File Base Relocations"):
            dll = None  # the next table is not an import table
        elif dll:
            entry = re.match(r"\t[0-9a-f]+\t +\d+ +(\w+)$", line)
            if entry:
                yield dll, entry.group(1)


def main():
    objdump, executable = sys.argv[1:3]
    found = list(imports(objdump, executable))
    if not any(function == "GetLastError" for _, function in found):
        print("imports: could not read the import tables of %s" % executable)
        return 1
    wrong = sorted("%s!%s" % pair for pair in found
                   if pair[1] in THREAD_CONTROL or pair[0].lower() in LOADED_BY_NAME)
    print("imports: %d functions; %s" % (len(found), ", ".join(wrong) if wrong else "none that controls threads or comes from a planted library"))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

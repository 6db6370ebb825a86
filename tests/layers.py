#!/usr/bin/env python3
"""The layers keep their direction: a file includes only its own layer and
the layers below it. From the bottom: the frame (app/), memory in other
programs (readers/remote/), the readers (readers/), then the two front ends,
the window (ui/) and the command line (cli/), which know nothing of each
other. res/ holds the ids the window's resources share with its code."""

import pathlib
import re
import sys

TOP = pathlib.Path(__file__).resolve().parent.parent
LAYERS = {
    "app": set(),
    "readers/remote": {"app"},
    "readers": {"app", "readers/remote"},
    "ui": {"app", "readers/remote", "readers", "res"},
    "cli": {"app", "readers/remote", "readers"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(relative):
    """The deepest layer folder that holds the path, or None."""
    best = None
    for layer in LAYERS:
        if relative == layer or relative.startswith(layer + "/"):
            if best is None or len(layer) > len(best):
                best = layer
    return best


def wrong_includes():
    for layer, below in LAYERS.items():
        folder = TOP / layer
        if not folder.is_dir():
            continue
        for path in sorted(folder.rglob("*")):
            if path.suffix not in (".h", ".cpp") or layer_of(path.relative_to(TOP).parent.as_posix()) != layer:
                continue
            for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
                target = layer_of(pathlib.PurePosixPath(included).parent.as_posix())
                if target is None and included.startswith("res/"):
                    target = "res"
                if target != layer and target not in below:
                    yield "%s includes %s" % (path.relative_to(TOP).as_posix(), included)


def main():
    wrong = list(wrong_includes())
    for line in wrong:
        print(line)
    print("layers: %s" % ("%d includes run against the layers" % len(wrong) if wrong else "every include runs downward"))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Quarvel under Wine with a demo window of list boxes to pick.

    demo.py --bin BUILD/bin [--helper-bin OTHER/bin] [--no-window]
            [--auto --screenshot FILE]

Without --auto: Quarvel runs until the user closes it. With --auto the demo
acts by itself: it drags the finder onto the demo list, presses Get Count and
Get Contents, saves a screenshot, prints what Quarvel read and closes Quarvel
with Escape, reporting its exit code."""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "driver"))

import expected  # noqa: E402
from harness import Session  # noqa: E402
from quarvel_ui import IDC_GET_CONTENTS, IDC_GET_COUNT, IDC_LIST_COUNT, IDC_CONTENTS, \
    IDC_WINDOW_HANDLE, Quarvel  # noqa: E402
from wine_session import E2EError, EXIT_CODE_CLOSED  # noqa: E402

DEMO_TITLE = "Quarvel demo list"
DEMO_LIST = 301  # the report-view list view: headers, three columns
WM_CLOSE = 0x0010


def has_helpers(bin_dir):
    return bin_dir and all(os.path.exists(os.path.join(bin_dir, name))
                           for name in ("list_fixture.exe", "quarvel_probe.exe"))


def start_demo_window(session, helper_bin):
    session.start_fixture(DEMO_TITLE, helper_bin)
    fixture = session.fixture(DEMO_TITLE)
    # The window whose thread tests make hang has no place in a demo.
    session.probe.post(fixture["hung"]["hwnd"], WM_CLOSE)
    return fixture


def save_screenshot(path, rects):
    """The part of the screen that holds `rects`, with a margin."""
    margin = 12
    left = max(0, min(r[0] for r in rects) - margin)
    top = max(0, min(r[1] for r in rects) - margin)
    right = max(r[2] for r in rects) + margin
    bottom = max(r[3] for r in rects) + margin
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    subprocess.run(["import", "-silent", "-window", "root", "-crop",
                    "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage",
                    "-depth", "8", path], check=True, capture_output=True, timeout=30)


def act(quarvel, fixture, screenshot):
    """The demo's own hands: pick, count, read, show, close."""
    target = fixture["controls"][str(DEMO_LIST)]
    print("demo: dragging the finder onto the demo list view (window 0x%x)" % target["hwnd"])
    quarvel.pick(target, steps=30)
    quarvel.click(IDC_GET_COUNT)
    quarvel.click(IDC_GET_CONTENTS)
    _, contents = expected.other_list(DEMO_LIST)
    quarvel.wait_text(IDC_CONTENTS, contents, 10)
    texts = quarvel.texts()
    holder = quarvel.probe.window(target["root"])
    save_screenshot(screenshot, [quarvel.rect(), holder["rect"]])
    print("demo: screenshot saved to %s" % screenshot)
    print("Quarvel shows:")
    print("  Window Handle: %s" % texts[IDC_WINDOW_HANDLE])
    print("  List count:    %s" % texts[IDC_LIST_COUNT])
    print("  Contents:")
    for line in (texts[IDC_CONTENTS] or "").split("\r\n")[:-1]:
        print("    %s" % line)
    print("demo: pressing Escape")
    quarvel.keys("Escape")
    code = quarvel.exit_code(60)
    print("demo: Quarvel exited with code %s" % code)
    read_right = (texts[IDC_CONTENTS] == contents
                  and texts[IDC_WINDOW_HANDLE] == expected.handle_text(target["hwnd"]))
    if not read_right:
        print("demo: Quarvel did not show the demo list view's rows", file=sys.stderr)
    return 0 if read_right and code == EXIT_CODE_CLOSED else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", required=True, help="directory of Quarvel.exe")
    parser.add_argument("--helper-bin", help="faster (64-bit) helper programs, if built")
    parser.add_argument("--no-window", action="store_true", help="no demo window")
    parser.add_argument("--auto", action="store_true", help="act by itself, then end")
    parser.add_argument("--screenshot", default="demo.png")
    args = parser.parse_args()

    bin_dir = os.path.abspath(args.bin)
    helper_bin = args.helper_bin if has_helpers(args.helper_bin) else bin_dir
    if not has_helpers(helper_bin):
        print("demo: no demo window (list_fixture.exe and quarvel_probe.exe are not built)")
        if args.auto:
            return 2
        return subprocess.call([os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine-run"),
                                os.path.join(bin_dir, "Quarvel.exe")])
    session = Session(bin_dir, os.path.abspath(helper_bin), None)
    quarvel = None
    try:
        fixture = None if args.no_window and not args.auto else \
            start_demo_window(session, helper_bin)
        quarvel = Quarvel(session, session.exe("Quarvel.exe"))
        print("demo: Quarvel (%s) is up" % quarvel.arch)
        if args.auto:
            return act(quarvel, fixture, args.screenshot)
        code = quarvel.exit_code(None)
        print("demo: Quarvel exited with code %s" % code)
        return 0
    except KeyboardInterrupt:
        return 130
    except E2EError as error:
        print("demo: %s" % error, file=sys.stderr)
        return 1
    finally:
        if quarvel:
            quarvel.close()
        session.close()


if __name__ == "__main__":
    sys.exit(main())

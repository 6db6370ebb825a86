#!/usr/bin/env python3
"""Quarvel under Wine with a demo window of list boxes to pick.

    demo.py --bin BUILD/bin [--helper-bin OTHER/bin] [--no-window]
            [--auto --screenshot FILE [--outline-screenshot FILE]]

Without --auto: Quarvel runs until the user closes it. With --auto the demo
acts by itself on a screen of its own: a plain desktop with Quarvel beside the
one window it reads. It drags the finder onto the demo list (saving a picture
of the outline on the way, if asked), presses Get Count and Get Contents,
saves a screenshot, prints what Quarvel read and closes Quarvel with Escape,
reporting its exit code."""

import argparse
import ctypes
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "driver"))

import expected  # noqa: E402
import x_input  # noqa: E402
from harness import Session  # noqa: E402
from quarvel_ui import IDC_GET_CONTENTS, IDC_GET_COUNT, IDC_LIST_COUNT, IDC_CONTENTS, \
    IDC_WINDOW_HANDLE, Quarvel  # noqa: E402
from wine_session import E2EError, EXIT_CODE_CLOSED  # noqa: E402

DEMO_TITLE = "Quarvel demo list"
DEMO_LIST = 301  # the report-view list view: headers, three columns
WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE = 0xF020
DESKTOP_COLOUR = 0x3A6EA5  # the classic Windows desktop blue, as 0xRRGGBB


def has_helpers(bin_dir):
    return bin_dir and all(os.path.exists(os.path.join(bin_dir, name))
                           for name in ("list_fixture.exe", "quarvel_probe.exe"))


def start_demo_window(session, helper_bin):
    session.start_fixture(DEMO_TITLE, helper_bin)
    fixture = session.fixture(DEMO_TITLE)
    # The window whose thread tests make hang has no place in a demo.
    session.probe.post(fixture["hung"]["hwnd"], WM_CLOSE)
    return fixture


def leave_only_demo_list(session, fixture):
    """Of the fixture's windows, only the one holding the demo list stays in
    sight. The main one is minimised, not closed (that would end the
    fixture); with no window manager to take its X window away, the demo
    does."""
    session.probe.post(fixture["titled"]["hwnd"], WM_CLOSE)
    main = fixture["main"]["hwnd"]
    session.probe.post(main, WM_SYSCOMMAND, SC_MINIMIZE)
    time.sleep(0.5)
    x_input.xdotool("windowunmap", str(session.probe.window(main)["xid"]))
    time.sleep(0.3)


def paint_desktop(colour):
    """Gives the virtual display's root window a plain colour instead of
    black: there is no desktop program to paint it."""
    try:
        x11 = ctypes.CDLL("libX11.so.6")
    except OSError:
        return
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XSetWindowBackground.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
    x11.XClearWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        return
    root = x11.XDefaultRootWindow(display)
    x11.XSetWindowBackground(display, root, colour)
    x11.XClearWindow(display, root)
    x11.XCloseDisplay(display)


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


def act(quarvel, fixture, screenshot, outline_screenshot):
    """The demo's own hands: pick, count, read, show, close."""
    target = fixture["controls"][str(DEMO_LIST)]
    holder = quarvel.probe.window(target["root"])
    print("demo: dragging the finder onto the demo list view (window 0x%x)" % target["hwnd"])
    drag = x_input.Drag(*quarvel.finder_icon_point())
    drag.to(*quarvel.reach(target), steps=30)
    if outline_screenshot:
        save_screenshot(outline_screenshot, [quarvel.rect(), holder["rect"]])
        print("demo: the outline during the drag saved to %s" % outline_screenshot)
    drag.release()
    quarvel.click(IDC_GET_COUNT)
    quarvel.click(IDC_GET_CONTENTS)
    _, contents = expected.other_list(DEMO_LIST)
    quarvel.wait_text(IDC_CONTENTS, contents, 10)
    texts = quarvel.texts()
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
    parser.add_argument("--outline-screenshot", help="also a picture of the outline during the drag")
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
            # Painted while the programs keep the display open: the display
            # forgets it when its last client leaves.
            paint_desktop(DESKTOP_COLOUR)
            leave_only_demo_list(session, fixture)
            return act(quarvel, fixture, args.screenshot, args.outline_screenshot)
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

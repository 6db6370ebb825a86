"""Quarvel's dialog as a person sees and uses it: where to press, what it
shows. Reads through the probe, acts through the X display."""

import time

import expected
import x_input
from wine_session import E2EError, WineProgram, wait_for

IDC_WINDOW_HANDLE = 1000
IDC_WINDOW_TEXT = 1001
IDC_GET_COUNT = 1002
IDC_LIST_COUNT = 1003
IDC_GET_CONTENTS = 1004
IDC_CONTENTS = 1005
IDC_CLIPBOARD = 1006
IDC_CLEAR = 1007
IDC_ABOUT = 57664
IDOK = 1
SS_ICON = 0x3
WM_CLOSE = 0x0010


class Quarvel:
    """One running Quarvel.exe and its main dialog."""

    def __init__(self, session, exe, env=None):
        """`env`: variables added to the environment, LC_ALL for example to
        run Quarvel under another code page."""
        self.session = session
        self.probe = session.probe
        known = set(self.probe.dialogs())
        self.program = WineProgram(exe, log_dir=session.log_dir, env=env)
        self.arch = self.program.arch

        def new_visible_dialog():
            for hwnd in self.probe.dialogs():
                if hwnd not in known and self.probe.window(hwnd)["visible"]:
                    return hwnd
            return None
        self.hwnd = wait_for(new_visible_dialog, session.start_timeout(self.arch), 0.25)
        if not self.hwnd:
            self.program.stop()
            raise E2EError("%s showed no dialog within %s s" % (exe, session.start_timeout(self.arch)))
        self.started_in = time.monotonic() - self.program.started
        # The window is shown before the first paint has finished.
        time.sleep(0.5)

    # Reading.
    def state(self):
        return self.probe.state(self.hwnd)

    def text(self, control_id):
        return self.state()["controls"][str(control_id)]["text"]

    def texts(self):
        controls = self.state()["controls"]
        return {i: controls[str(i)]["text"] for i in
                (IDC_WINDOW_HANDLE, IDC_WINDOW_TEXT, IDC_LIST_COUNT, IDC_CONTENTS)}

    def rect(self, control_id=None):
        state = self.state()
        if control_id is None:
            return state["window"]["rect"]
        return state["controls"][str(control_id)]["rect"]

    def wait_text(self, control_id, wanted, timeout=5):
        """Waits until the control shows `wanted`; returns what it shows."""
        found = [None]

        def shows():
            found[0] = self.text(control_id)
            return found[0] == wanted
        wait_for(shows, timeout, 0.1)
        return found[0]

    def focus_id(self):
        return self.state()["focus_id"]

    # Places on the dialog.
    def _frame(self):
        window = self.state()["window"]
        rect, client = window["rect"], window["client"]
        border = client[0] - rect[0]
        caption = client[1] - rect[1] - border
        return rect, client, border, caption

    def caption_point(self):
        rect, _, border, caption = self._frame()
        return rect[0] + 90, rect[1] + border + caption // 2

    def close_button_point(self):
        """Wine draws the caption buttons itself; the close box is the last,
        a square as high as the caption."""
        rect, client, border, caption = self._frame()
        return client[2] - caption // 2 - 1, rect[1] + border + caption // 2

    def finder_icon_point(self):
        return expected.centre_of(self._icon_rect())

    def _icon_rect(self):
        icons = [c for c in self.probe.ask("children %d" % self.hwnd)["children"]
                 if c["class"].lower() == "static" and c["style"] & 0x1F == SS_ICON]
        if not icons:
            raise E2EError("the dialog has no finder icon")
        return icons[0]["rect"]

    def bare_point(self):
        """A point of the dialog's client area that no control covers: right
        of the finder icon, level with it."""
        icon = self._icon_rect()
        point = (icon[2] + 60, (icon[1] + icon[3]) // 2)
        under = self.probe.window_at(*point)["hwnd"]
        if under != self.hwnd:
            raise E2EError("no bare dialog space at %s (window %#x there)" % (point, under))
        return point

    # Acting.
    def uncover(self, point, root=None):
        """Makes sure a press at `point` reaches the window `root` (the
        dialog unless told): under Wine a program may raise its window some
        time after it showed it, once it gets to the events the display
        sent it. Raises that window when another is in the way."""
        root = root or self.hwnd
        if self.probe.window_at(*point)["root"] != root:
            self.probe.ask("raise %d" % root)
            time.sleep(0.3)
        return point

    def click(self, control_id, settle=0.3):
        x_input.click_at(*self.uncover(expected.centre_of(self.rect(control_id))))
        time.sleep(settle)

    def focus(self):
        x_input.focus_window(self.state()["window"]["xid"], self.uncover(self.caption_point()))

    def keys(self, *names):
        self.focus()
        x_input.key(*names)

    def reach(self, target):
        """A screen point on the window `target` (probe's window record) that
        a drag can end on: visible beside the dialog, and what the system
        reports there. Raises the target's window and then the dialog when
        another window is in the way."""
        covers = [self.rect()]
        point = expected.visible_point(target["rect"], covers)
        if point is None:
            raise E2EError("window %#x is covered by the dialog" % target["hwnd"])
        if self.probe.window_at(*point)["hwnd"] != target["hwnd"]:
            self.probe.ask("raise %d" % target["root"])
            self.probe.ask("raise %d" % self.hwnd)
            time.sleep(0.3)
        under = self.probe.window_at(*point)["hwnd"]
        if under != target["hwnd"]:
            raise E2EError("window %#x is hidden at %s by %#x" % (target["hwnd"], point, under))
        return point

    def pick(self, target, start=None, steps=12):
        """Drags from the finder icon (or `start`) onto the target window and
        releases there."""
        end = self.reach(target)
        x_input.drag(self.uncover(start or self.finder_icon_point()), end, steps)
        time.sleep(0.2)

    def pick_point(self, point, start=None, steps=12):
        x_input.drag(self.uncover(start or self.finder_icon_point()), point, steps)
        time.sleep(0.2)

    # Ending.
    def exit_code(self, timeout):
        return self.program.exit_code(timeout)

    def running(self):
        return self.program.running()

    def close(self):
        """Ends this Quarvel after a scenario, whatever state it was left in."""
        if self.running():
            for about in self._about_boxes():
                self.probe.post(about, WM_CLOSE)
            self.probe.post(self.hwnd, WM_CLOSE)
            if self.exit_code(10) is None:
                self.program.stop()

    def _about_boxes(self):
        answer = self.probe.about(self.hwnd)
        return [answer["window"]["hwnd"]] if answer["ok"] else []

"""Windows programs under Wine for the end-to-end run: starting and ending
them, and the probe that looks at their windows from another process."""

import json
import os
import queue
import subprocess
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
WINE_RUN = os.path.join(REPO, "tools", "wine-run")

# The quit code of a normal close.
EXIT_CODE_CLOSED = 2


class E2EError(Exception):
    """Something the run needs did not happen (not a wrong result)."""


def pe_machine(path):
    """'win32' or 'win64' from the executable's PE header."""
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = int.from_bytes(data[0x3C:0x40], "little")
    machine = int.from_bytes(data[pe + 4:pe + 6], "little")
    return {0x14C: "win32", 0x8664: "win64"}.get(machine, hex(machine))


class WineProgram:
    """One Windows program started through tools/wine-run."""

    def __init__(self, path, args=(), log_dir=None, env=None):
        self.path = path
        self.name = os.path.basename(path)
        self.arch = pe_machine(path)
        stderr = subprocess.DEVNULL
        if log_dir:
            os.makedirs(log_dir, exist_ok=True)
            stderr = open(os.path.join(log_dir, self.name + ".log"), "ab")
        self.process = subprocess.Popen([WINE_RUN, path, *args], stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=stderr,
                                        env=dict(os.environ, **env) if env else None)
        if stderr is not subprocess.DEVNULL:
            stderr.close()
        self.started = time.monotonic()

    def exit_code(self, timeout):
        """The exit code, or None when the program is still running after
        `timeout` seconds."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.process.poll() is None

    def stop(self):
        """Ends the Wine loader of this program only (the wineserver of the
        run takes the Windows process with it when the run ends)."""
        if self.running():
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Probe:
    """The probe program, kept running for the whole session: one command
    line in, one JSON line out."""

    def __init__(self, path, start_timeout):
        self.arch = pe_machine(path)
        self.process = subprocess.Popen([WINE_RUN, path], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        ready = self._answer(start_timeout)
        if not ready.get("ready"):
            raise E2EError("probe did not start: %r" % ready)

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.decode("utf-8", "replace"))
        self.lines.put(None)

    def _answer(self, timeout):
        try:
            line = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise E2EError("probe gave no answer within %s s" % timeout) from None
        if line is None:
            raise E2EError("probe ended unexpectedly")
        return json.loads(line)

    def ask(self, command, timeout=30):
        self.process.stdin.write((command + "\n").encode("utf-8"))
        self.process.stdin.flush()
        return self._answer(timeout)

    def close(self):
        if self.process.poll() is None:
            try:
                self.ask("quit", timeout=10)
            except (E2EError, OSError):
                pass
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    # Convenience queries.
    def dialogs(self):
        return self.ask("dialogs")["dialogs"]

    def state(self, dialog):
        return self.ask("state %d" % dialog)

    def window(self, hwnd):
        return self.ask("window %d" % hwnd)["window"]

    def window_at(self, x, y):
        return self.ask("point %d %d" % (x, y))["window"]

    def work_area(self):
        return self.ask("workarea")["workarea"]

    def fixture(self, title):
        return self.ask("fixture " + title)

    def about(self, owner):
        return self.ask("about %d" % owner)

    def clipboard(self):
        return self.ask("clipboard")

    def set_clipboard(self, text):
        return self.ask("setclip " + text)["ok"]

    def post(self, hwnd, message, wparam=0, lparam=0):
        return self.ask("post %d %d %d %d" % (hwnd, message, wparam, lparam))["ok"]


def wait_for(condition, timeout, interval=0.1):
    """Polls `condition` until it returns a true value or `timeout` seconds
    pass; returns the last value either way."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)

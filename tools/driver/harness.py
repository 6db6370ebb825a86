"""The run of the end-to-end suite: the programs it shares between
scenarios, the checks and how failures are reported."""

import os
import re
import subprocess
import time
import traceback

import expected
import x_input
from wine_session import E2EError, Probe, WineProgram, pe_machine, wait_for

# Seconds for a process to show its window, by architecture: 32-bit
# processes start through emulation here.
START_TIMEOUT = {"win64": 30, "win32": 240}


class Session:
    """Programs shared by the scenarios of one run."""

    def __init__(self, bin_dir, peer_bin, failure_dir):
        self.bin_dir = bin_dir
        self.peer_bin = peer_bin
        self.failure_dir = failure_dir
        self.log_dir = os.path.join(failure_dir, "logs") if failure_dir else None
        self.fixtures = {}
        # The fastest helpers available: 64-bit ones from the peer build when
        # this one is 32-bit.
        self.helper_bin = peer_bin or bin_dir
        self.probe = Probe(os.path.join(self.helper_bin, "quarvel_probe.exe"),
                           self.start_timeout_of(self.helper_bin))

    def start_timeout(self, arch):
        return START_TIMEOUT.get(arch, 240)

    def start_timeout_of(self, bin_dir):
        return self.start_timeout(pe_machine(os.path.join(bin_dir, "quarvel_probe.exe")))

    def exe(self, name, bin_dir=None):
        path = os.path.join(bin_dir or self.bin_dir, name)
        if not os.path.exists(path):
            raise E2EError("missing program %s" % path)
        return path

    def start_fixture(self, title, bin_dir, *options):
        """Starts the list fixture without waiting for it."""
        program = WineProgram(self.exe("list_fixture.exe", bin_dir),
                              ["--title", title] + list(options), log_dir=self.log_dir)
        self.fixtures[title] = program
        return program

    def fixture(self, title):
        """The fixture's windows, once it shows them."""
        program = self.fixtures[title]
        info = wait_for(lambda: _ready(self.probe.fixture(title)),
                        self.start_timeout(program.arch), 0.25)
        if not info:
            raise E2EError("list fixture %r showed no window" % title)
        return info

    def end_fixture(self, title):
        """Closes the fixture's main window, which ends its process and so
        also its window whose thread may hang."""
        program = self.fixtures.pop(title)
        answer = self.probe.fixture(title)
        if answer.get("main"):
            self.probe.post(answer["main"]["hwnd"], 0x0010)
        if program.exit_code(10) is None:
            program.stop()

    def close(self):
        for title in list(self.fixtures):
            self.end_fixture(title)
        self.probe.close()


def _ready(answer):
    return answer if answer.get("ok") and answer["main"]["visible"] else None


def _shorten(value, limit=160):
    text = repr(value)
    return text if len(text) <= limit else text[:limit] + "... (%d chars)" % len(text)


def describe_difference(wanted, found):
    lines = ["    expected: " + _shorten(wanted), "    found:    " + _shorten(found)]
    if isinstance(wanted, (str, bytes)) and isinstance(found, (str, bytes)) \
            and type(wanted) is type(found) and max(len(wanted), len(found)) > 60:
        at = expected.first_difference(wanted, found)
        lines.append("    lengths %d and %d; first difference at %s: expected %r, found %r"
                     % (len(wanted), len(found), at, wanted[at:at + 20], found[at:at + 20]))
    return "\n".join(lines)


class Check:
    """The checks of one scenario. A failed check is reported and the
    scenario goes on; the first failure keeps a screenshot."""

    def __init__(self, scenario, failure_dir):
        self.scenario = scenario
        self.failure_dir = failure_dir
        self.failures = []
        self.count = 0

    def equal(self, label, wanted, found):
        self.count += 1
        if wanted != found:
            self.fail(label, describe_difference(wanted, found))
        return wanted == found

    def true(self, label, condition, detail=""):
        self.count += 1
        if not condition:
            self.fail(label, "    " + detail if detail else "    condition not met")
        return bool(condition)

    def at_least(self, label, minimum, found):
        self.count += 1
        if not found >= minimum:
            self.fail(label, "    expected at least %s, found %s" % (minimum, found))
        return found >= minimum

    def fail(self, label, detail):
        if not self.failures:
            self.screenshot()
        self.failures.append(label)
        print("  FAIL %s: %s\n%s" % (self.scenario, label, detail), flush=True)

    def screenshot(self):
        os.makedirs(self.failure_dir, exist_ok=True)
        name = re.sub(r"[^A-Za-z0-9_.-]", "_", self.scenario)
        path = os.path.join(self.failure_dir, "%s-%d.png" % (name, len(self.failures) + 1))
        x_input.save_screenshot(path)
        print("  screenshot: %s" % path, flush=True)


def run_scenario(name, body, failure_dir):
    """Runs one scenario; returns (passed, seconds)."""
    check = Check(name, failure_dir)
    start = time.monotonic()
    print("-- %s" % name, flush=True)
    try:
        body(check)
    except (E2EError, OSError, subprocess.SubprocessError, KeyError, ValueError,
            TypeError) as error:
        check.fail("could not carry out the scenario", "    %s: %s\n%s" % (
            type(error).__name__, error, traceback.format_exc(limit=4)))
    seconds = time.monotonic() - start
    passed = not check.failures and check.count > 0
    if check.count == 0 and not check.failures:
        print("  FAIL %s: no check was made" % name)
    print("   %s %s (%d checks, %.1f s)" % ("ok" if passed else "FAILED", name, check.count,
                                            seconds), flush=True)
    return passed, seconds

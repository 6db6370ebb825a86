#!/usr/bin/env python3
"""End-to-end suite of the shipped Quarvel.exe, driven as a person uses it.

    run.py --bin BUILD/bin --arch win64|win32 [--peer-bin OTHER/bin]
           [--failures DIR] [--only NAME,...]

Needs an X display ($DISPLAY, for example from tools/with-display), Wine
through tools/wine-run, xdotool, xclip and ImageMagick's import.

win64: every scenario, each with a Quarvel of its own (a start costs about a
second). win32: each 32-bit process start costs tens of seconds under
emulation, so one 32-bit Quarvel goes through the scenarios that leave it
running, in order, reading the 64-bit fixture of the peer build; then a
64-bit Quarvel of the peer build reads a 32-bit fixture. Without a peer
build the 32-bit pass uses its own helpers and skips the cross reading."""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
# The driver of Quarvel and its fixture through Wine and X, shared with the
# demo of `make run`.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "driver"))

import command_line  # noqa: E402
import expected  # noqa: E402
import scenarios as s  # noqa: E402
from harness import Session, run_scenario  # noqa: E402
from quarvel_ui import Quarvel  # noqa: E402
from wine_session import E2EError  # noqa: E402

WIN64_SCENARIOS = [
    ("startup", s.startup),
    ("pick_from_icon", s.pick_from_icon),
    ("pick_from_bare_space", s.pick_from_bare_space),
    ("outline", s.outline),
    ("read_lists", s.read_lists),
    ("read_other_lists", s.read_other_lists),
    ("read_toolkit_lists", s.read_toolkit_lists),
    ("clipboard", s.clipboard),
    ("busy_clipboard", s.busy_clipboard),
    ("unicode_text", s.unicode_text),
    ("unicode_text_cyrillic", s.unicode_text_cyrillic),
    ("about", s.about),
    ("exit_escape", s.exit_escape),
    ("exit_alt_f4", s.exit_alt_f4),
    ("exit_close_button", s.exit_close_button),
    ("long_read", s.long_read),
    # Last: the fixture's second thread never answers again.
    ("hung_list", s.hung_list),
]

# In this order on one 32-bit Quarvel; the last one ends it.
WIN32_SCENARIOS = [
    ("startup", s.startup),
    ("pick_from_icon", s.pick_from_icon),
    ("pick_from_bare_space", s.pick_from_bare_space),
    ("outline", s.outline),
    ("read_lists", lambda check, stage: s.read_lists(check, stage, (101, 104, 103, 102))),
    ("read_other_lists", s.read_other_lists),
    ("read_toolkit_lists", s.read_toolkit_lists),
    ("clipboard", s.clipboard),
    ("busy_clipboard", s.busy_clipboard),
    ("unicode_text", s.unicode_text),
    ("about", s.about),
    ("hung_list", s.hung_list),
    ("exit_escape", s.exit_escape),
]

OTHER_FIXTURE_TITLE = expected.FIXTURE_TITLE + " 32"

# Scenarios whose Quarvel starts under another locale: Wine takes the code
# page from it (set up by tools/setup.sh).
QUARVEL_ENV = {"unicode_text_cyrillic": {"LC_ALL": "ru_RU.UTF-8"}}


def selected(plan, only):
    return [(name, body) for name, body in plan if not only or name in only]


def run_each_fresh(session, plan, exit_timeout):
    """Every scenario with its own Quarvel."""
    fixture = session.fixture(expected.FIXTURE_TITLE)
    results = []
    for name, body in plan:
        quarvel = []

        def scenario(check, name=name, body=body):
            quarvel.append(Quarvel(session, session.exe("Quarvel.exe"), QUARVEL_ENV.get(name)))
            body(check, s.Stage(session, fixture, quarvel[0], exit_timeout))
        results.append((name,) + run_scenario(name, scenario, session.failure_dir))
        if body is s.hung_list:
            # Its hung window would stall every later repaint of the screen.
            session.end_fixture(expected.FIXTURE_TITLE)
        if quarvel:
            quarvel[0].close()
    return results


def run_shared(session, plan, exit_timeout, other_fixture):
    """The scenarios in order on one Quarvel of this build."""
    results = []
    shared = []

    def start(check):
        shared.append(Quarvel(session, session.exe("Quarvel.exe")))
        check.true("Quarvel shows its dialog", shared[0].hwnd)
        print("   started in %.0f s" % shared[0].started_in)
    results.append(("start",) + run_scenario("start", start, session.failure_dir))
    if not shared:
        return results
    if other_fixture:
        session.fixture(other_fixture)  # started with Quarvel; wait before acting
    fixture = session.fixture(expected.FIXTURE_TITLE)
    # Both fixtures open at the same place, in whatever order their slow
    # starts finished: the one read here goes on top, the dialog above it.
    session.probe.ask("raise %d" % fixture["main"]["hwnd"])
    session.probe.ask("raise %d" % shared[0].hwnd)
    # The fixture is the peer build's, 64-bit, when there is one.
    stage = s.Stage(session, fixture, shared[0], exit_timeout, fixture_beyond_reach=bool(session.peer_bin))
    for name, body in plan:
        if not shared[0].running():
            print("-- %s: not run, Quarvel has ended" % name)
            results.append((name, False, 0.0))
            continue
        results.append((name,) + run_scenario(
            name, lambda check, body=body: body(check, stage), session.failure_dir))
        if body is s.hung_list:
            # Its hung window would stall every later repaint of the screen.
            session.end_fixture(expected.FIXTURE_TITLE)
    shared[0].close()
    return results


def run_other_arch(session):
    fixture = session.fixture(OTHER_FIXTURE_TITLE)
    session.probe.ask("raise %d" % fixture["main"]["hwnd"])

    def scenario(check):
        quarvel = Quarvel(session, session.exe("Quarvel.exe", session.peer_bin))
        try:
            s.read_other_arch(check, s.Stage(session, fixture, quarvel, 15))
        finally:
            quarvel.close()
    return [("read_other_arch",) + run_scenario("read_other_arch (%s Quarvel, %s fixture)" % (
        "win64", "win32"), scenario, session.failure_dir)]


def run_command_line(session, title, bin_dir, beyond_reach, label, slow=False):
    """The console program of `bin_dir` against the fixture titled `title`;
    with `slow`, also against a fixture whose list view answers late."""
    fixture = session.fixture(title)
    if slow:
        session.start_fixture(command_line.SLOW_FIXTURE_TITLE, session.helper_bin, "--slow", "400",
                              "--activate", "no")

    def scenario(check):
        slow_fixture = session.fixture(command_line.SLOW_FIXTURE_TITLE) if slow else None
        command_line.command_line(check, session.exe("quarvel-read.exe", bin_dir), title, fixture,
                                  beyond_reach, slow_fixture)
    try:
        return [(label,) + run_scenario(label, scenario, session.failure_dir)]
    finally:
        if slow:
            session.end_fixture(command_line.SLOW_FIXTURE_TITLE)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", required=True, help="directory of this build's programs")
    parser.add_argument("--arch", required=True, choices=["win32", "win64"])
    parser.add_argument("--peer-bin", help="directory of the win64 build's programs (win32 pass)")
    parser.add_argument("--failures", help="where screenshots of failures go")
    parser.add_argument("--only", help="comma-separated scenario names")
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("e2e: DISPLAY is not set (use tools/with-display)", file=sys.stderr)
        return 2

    bin_dir = os.path.abspath(args.bin)
    peer = None
    if args.arch == "win32" and args.peer_bin:
        if os.path.exists(os.path.join(args.peer_bin, "Quarvel.exe")):
            peer = os.path.abspath(args.peer_bin)
        else:
            print("e2e: no win64 build at %s: 32-bit helpers, no cross reading" % args.peer_bin)
    failures = os.path.abspath(args.failures or os.path.join(bin_dir, "..", "e2e-failures"))
    only = set(args.only.split(",")) if args.only else None

    began = time.monotonic()
    session = Session(bin_dir, peer, failures)
    try:
        session.start_fixture(expected.FIXTURE_TITLE, session.helper_bin)
        console = not only or "command_line" in only
        if args.arch == "win64":
            results = run_command_line(session, expected.FIXTURE_TITLE, bin_dir, False, "command_line",
                                       slow=True) if console else []
            results += run_each_fresh(session, selected(WIN64_SCENARIOS, only), 15)
        else:
            cross = peer and (not only or "read_other_arch" in only or console)
            if cross:
                # It starts while the shared scenarios run beside the other
                # fixture at the same place: it must never come up over it.
                session.start_fixture(OTHER_FIXTURE_TITLE, bin_dir, "--activate", "no")
            results = []
            if console:
                # This build's console program on the peer's 64-bit fixture,
                # and the peer's on this build's 32-bit one.
                results += run_command_line(session, expected.FIXTURE_TITLE, bin_dir, bool(peer),
                                            "command_line", slow=True)
                if cross:
                    results += run_command_line(session, OTHER_FIXTURE_TITLE, peer, False,
                                                "command_line (win64 on a win32 fixture)")
            results += run_shared(session, selected(WIN32_SCENARIOS, only), 60,
                                 OTHER_FIXTURE_TITLE if cross else None)
            if cross and (not only or "read_other_arch" in only):
                results += run_other_arch(session)
    except E2EError as error:
        print("e2e: %s" % error)
        results = [("setup", False, 0.0)]
    finally:
        session.close()

    failed = [name for name, passed, _ in results if not passed]
    print("\n%s pass: %d scenarios, %d failed, %.0f s" % (
        args.arch, len(results), len(failed), time.monotonic() - began))
    for name, passed, seconds in results:
        print("  %-22s %-6s %5.1f s" % (name, "ok" if passed else "FAILED", seconds))
    if failed:
        print("screenshots of failures: %s" % failures)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

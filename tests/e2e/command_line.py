"""The console program against the list fixture in another process: the
dialog's text byte for byte, CSV and JSON read back by Python's own parsers,
one case for each exit status, Unicode to a pipe and to a file."""

import csv
import io
import json
import os
import pty
import subprocess
import tempfile
import time

import expected
from wine_session import WINE_RUN

SLOW_FIXTURE_TITLE = expected.FIXTURE_TITLE + " slow"


def run(exe, *args, to_file=False):
    """(exit status, standard output bytes, standard error text)."""
    with tempfile.TemporaryFile() as out:
        result = subprocess.run([WINE_RUN, exe, *args], stdin=subprocess.DEVNULL, timeout=60,
                                stdout=out if to_file else subprocess.PIPE, stderr=subprocess.PIPE)
        out.seek(0)
        data = out.read() if to_file else result.stdout
    return result.returncode, data, result.stderr.decode("utf-8", "replace")


def interrupted(exe, *args, after=1.0, limit=5.0):
    """(seconds from Ctrl+C on its console to its exit, exit status) of the
    program started on a terminal of its own."""
    pid, terminal = pty.fork()
    if pid == 0:
        os.execv(WINE_RUN, [WINE_RUN, exe, *args])
    time.sleep(after)
    os.write(terminal, b"\x03")
    pressed = time.monotonic()
    while time.monotonic() - pressed < limit:
        done, status = os.waitpid(pid, os.WNOHANG)
        if done:
            os.close(terminal)
            return time.monotonic() - pressed, os.waitstatus_to_exitcode(status)
        time.sleep(0.02)
    os.kill(pid, 9)
    os.waitpid(pid, 0)
    os.close(terminal)
    return None, None


def flattened(tree, depth=0):
    for text, children in tree:
        yield [str(depth), text]
        yield from flattened(children, depth + 1)


def as_json(tree):
    return [{"text": text, "children": as_json(children)} for text, children in tree]


def shown(columns, order, rows):
    return [[columns[i] for i in order]] + [[row[i] for i in order] for row in rows]


def dialog_texts(beyond_reach):
    """The text the dialog shows for each control (tools/driver/expected.py)."""
    texts = {cid: expected.contents_text(expected.shown_items(expected.items_of(cid)))
             for cid in (101, 102, 103, 104, 107)}
    texts.update({cid: expected.other_list(cid)[1] for cid in (301, 302, 305)})
    texts.update({cid: expected.toolkit_list(cid)[1] for cid in (309, 310, 311)})
    if not beyond_reach:
        texts[304] = expected.other_list(304)[1]
    return texts


def command_line(check, exe, title, fixture, beyond_reach, slow_fixture=None):
    def handle(cid):
        return expected.handle_text(fixture["controls"][str(cid)]["hwnd"])

    for cid, text in dialog_texts(beyond_reach).items():
        check.equal("text of %d, through a pipe" % cid, (0, text.encode("utf-8")), run(exe, handle(cid))[:2])

    status, out, _ = run(exe, "--format", "csv", handle(301))
    check.equal("CSV of the report view", (0, shown(expected.REPORT_COLUMNS, expected.REPORT_ORDER,
                                                    expected.REPORT_ROWS)),
                (status, list(csv.reader(io.StringIO(out.decode("utf-8"), newline="")))))
    status, out, _ = run(exe, "--format", "json", handle(301))
    document = json.loads(out.decode("utf-8"))
    ordered = shown(expected.REPORT_COLUMNS, expected.REPORT_ORDER, expected.REPORT_ROWS)
    check.equal("JSON of the report view", (0, handle(301), "listview", 4, ordered[0], ordered[1:]),
                (status, document["window"], document["kind"], document["count"], document.get("columns"),
                 document["items"]))
    status, out, _ = run(exe, "--format", "json", handle(107))
    check.equal("JSON of list 107: every UTF-16 unit, the lone surrogate too",
                (0, expected.items_of(107)), (status, json.loads(out.decode("utf-8"))["items"]))
    if not beyond_reach:
        status, out, _ = run(exe, "--format", "csv", handle(304))
        check.equal("CSV of the tree", (0, list(flattened(expected.TREE))),
                    (status, list(csv.reader(io.StringIO(out.decode("utf-8"), newline="")))))
        status, out, _ = run(exe, "--format", "json", handle(304))
        check.equal("JSON of the tree", (0, as_json(expected.TREE)),
                    (status, json.loads(out.decode("utf-8"))["items"]))

    shown_107 = expected.contents_text(expected.shown_items(expected.items_of(107)))
    check.equal("UTF-8 of list 107 to a file", (0, shown_107.encode("utf-8")),
                run(exe, handle(107), to_file=True)[:2])
    # The box's text, its lone surrogate shown as U+FFFD, whatever the encoding.
    check.equal("--utf16 of list 107 to a file", (0, b"\xff\xfe" + shown_107.encode("utf-16-le")),
                run(exe, "--utf16", handle(107), to_file=True)[:2])
    check.equal("--count of list 105", (0, b"%d\r\n" % expected.FIXTURE_MANY), run(exe, "--count", handle(105))[:2])

    status, out, _ = run(exe, "--list", title)
    lines = [line.split("\t") for line in out.decode("utf-8").split("\r\n") if line]
    check.true("--list names list 101", [handle(101), "listbox", "2", "ListBox", title] in lines,
               repr(lines[:3]))
    controls = fixture["controls"]
    check.equal("--find the second tree view of the controls window",
                (0, expected.toolkit_list(310)[1].encode("utf-8")),
                run(exe, "--find", title + " (controls)", "--class", "treeview", "--nth", "2")[:2])
    rect = controls["101"]["rect"]
    check.equal("--at the middle of list 101", (0, b"alpha\r\nbeta\r\n"),
                run(exe, "--at", "%d,%d" % ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2))[:2])

    status, out, err = run(exe, "--find", "no window is titled so 7f3a")
    check.equal("no such window: status 1, one line", (1, b"", 1), (status, out, err.count("\n")))
    status, out, err = run(exe, "--format", "xml", handle(101))
    check.equal("wrong usage: status 2, the line, then the usage", (2, b"", True),
                (status, out, err.startswith("quarvel-read: --format") and "\nUsage:" in err))
    status, out, err = run(exe, handle(306))
    check.equal("items without text: status 3", (3, b"", "quarvel-read: ListBox contains 3 items without text\r\n"),
                (status, out, err))
    status, out, err = run(exe, handle(106))
    check.equal("not a list control: status 3", (3, b"", True), (status, out, "not a list control" in err))
    if beyond_reach:
        check.equal("the 64-bit program's tree: status 3",
                    (3, b"", "quarvel-read: %s\r\n" % expected.NEEDS_64_BIT), run(exe, handle(304)))
    if slow_fixture:
        slow = expected.handle_text(slow_fixture["controls"]["308"]["hwnd"])
        status, out, err = run(exe, "--timeout", "5", slow)
        check.equal("an answer past the timeout: status 4", (4, "quarvel-read: ListView did not answer\r\n"),
                    (status, err))
        # Its 400 rows take seconds: Ctrl+C ends the read after one answer,
        # with the status Windows gives (its low byte through Wine's loader).
        seconds, status = interrupted(exe, slow)
        check.equal("Ctrl+C during a read: STATUS_CONTROL_C_EXIT", 0xC000013A & 0xFF, status)
        check.true("Ctrl+C ends it within half a second", seconds is not None and seconds < 0.5, repr(seconds))

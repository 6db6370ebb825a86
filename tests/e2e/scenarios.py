"""The scenarios: what a person does with Quarvel and what they must see.

Each scenario is a function (check, stage) where stage.quarvel is a running
Quarvel, stage.fixture the list fixture's windows as the probe reads them and
stage.probe the probe."""

import time

import expected
import x_input
from quarvel_ui import (IDC_ABOUT, IDC_CLEAR, IDC_CLIPBOARD, IDC_CONTENTS, IDC_GET_CONTENTS,
                        IDC_GET_COUNT, IDC_LIST_COUNT, IDC_WINDOW_HANDLE, IDC_WINDOW_TEXT, IDOK)
from wine_session import EXIT_CODE_CLOSED, wait_for

WM_APP = 0x8000
HANG = WM_APP + 1
SENTINEL = "left on the clipboard by the test"


class Stage:
    def __init__(self, session, fixture, quarvel, exit_timeout, fixture_beyond_reach=False):
        self.session = session
        self.probe = session.probe
        self.fixture = fixture
        self.quarvel = quarvel
        self.exit_timeout = exit_timeout
        # A 32-bit Quarvel reading a 64-bit fixture: it cannot name the items
        # of a tree that are not in view.
        self.fixture_beyond_reach = fixture_beyond_reach

    def control(self, control_id):
        if control_id == 201:
            return self.fixture["hung_list"]
        return self.fixture["controls"][str(control_id)]


def pick_and_check(check, stage, control_id, start=None):
    q = stage.quarvel
    target = stage.control(control_id)
    q.pick(target, start=start)
    handle = expected.handle_text(target["hwnd"])
    check.equal("handle shown after picking %d" % control_id, handle,
                q.wait_text(IDC_WINDOW_HANDLE, handle))
    return target


def read_count(check, stage, control_id, count):
    """`control_id` names the box in the report."""
    q = stage.quarvel
    q.click(IDC_GET_COUNT)
    check.equal("count sentence of %s" % control_id, expected.count_sentence(count),
                q.wait_text(IDC_LIST_COUNT, expected.count_sentence(count)))


def read_contents(check, stage, control_id, items, timeout=5):
    q = stage.quarvel
    q.click(IDC_GET_CONTENTS)
    text = expected.contents_text(items)
    return check.equal("contents of %s" % control_id, text,
                       q.wait_text(IDC_CONTENTS, text, timeout))


def startup(check, stage):
    """Centred on the work area, focus in the Window Text box, nothing shown;
    Enter there does nothing; the commands before any pick."""
    q, probe = stage.quarvel, stage.probe
    area = probe.work_area()
    rect = q.rect()
    check.equal("dialog's top-left corner on the %dx%d work area" % expected.size_of(area),
                expected.centred_origin(expected.size_of(rect), area, area), (rect[0], rect[1]))
    # Programs started beside Quarvel may have taken the activation; coming
    # back to the dialog restores the focus it had, which is what is checked.
    q.focus()
    time.sleep(0.3)
    check.equal("focused control after start-up", IDC_WINDOW_TEXT, q.focus_id())
    empty = {i: "" for i in (IDC_WINDOW_HANDLE, IDC_WINDOW_TEXT, IDC_LIST_COUNT, IDC_CONTENTS)}
    check.equal("texts after start-up", empty, q.texts())

    q.keys("Return")
    time.sleep(0.3)
    check.true("Quarvel still runs after Enter in the Window Text box", q.running())
    check.equal("texts after Enter", empty, q.texts())
    check.equal("focus after Enter", IDC_WINDOW_TEXT, q.focus_id())

    q.click(IDC_GET_COUNT)
    check.equal("count before any pick", expected.count_sentence(0),
                q.wait_text(IDC_LIST_COUNT, expected.count_sentence(0)))
    q.click(IDC_CONTENTS)
    x_input.type_text("stale")
    check.equal("text typed into the contents box", "stale", q.wait_text(IDC_CONTENTS, "stale"))
    q.click(IDC_GET_CONTENTS)
    check.equal("contents after Get Contents before any pick", "", q.wait_text(IDC_CONTENTS, ""))


def pick_from_icon(check, stage):
    """Dragging from the finder icon picks a list box of another process,
    and a top-level window by its caption."""
    q, probe = stage.quarvel, stage.probe
    pick_and_check(check, stage, 101)
    check.equal("window text of a list box", "", q.text(IDC_WINDOW_TEXT))

    main = stage.fixture["main"]
    rect, client = main["rect"], main["client"]
    caption = (client[2] - 120, (rect[1] + client[1]) // 2)
    q.uncover(caption, main["hwnd"])
    q.uncover(q.finder_icon_point())
    check.equal("window at the fixture's caption", main["hwnd"], probe.window_at(*caption)["hwnd"])
    q.pick_point(caption)
    check.equal("handle of the fixture's main window", expected.handle_text(main["hwnd"]),
                q.wait_text(IDC_WINDOW_HANDLE, expected.handle_text(main["hwnd"])))
    check.equal("caption of the fixture's main window", main["text"], q.text(IDC_WINDOW_TEXT))


def pick_from_bare_space(check, stage):
    """A press on dialog space that no control covers starts the finder too."""
    q = stage.quarvel
    pick_and_check(check, stage, 106, start=q.bare_point())
    check.equal("window text of the static control", expected.NOT_A_LIST_TEXT,
                q.text(IDC_WINDOW_TEXT))


def outline(check, stage):
    """The window under the cursor is outlined while the drag lasts, one
    window at a time, on Quarvel's own controls and on another program's,
    and nothing is left over after the release."""
    q = stage.quarvel
    box, button = q.rect(IDC_CONTENTS), q.rect(IDC_GET_COUNT)
    target = stage.control(101)
    end = q.reach(target)
    before = x_input.grab()

    drag = x_input.Drag(*q.finder_icon_point())
    drag.to(*expected.centre_of(box))
    drag.to(box[0] + 20, box[1] + 20, steps=4)  # more moves within the same box
    over_box = x_input.grab()
    band, inside = expected.outline_report(before, over_box, box)
    check.at_least("share of the contents box's frame inverted while over it", 0.9, band)
    check.at_least("share of the contents box's inside unchanged", 0.95, inside)

    drag.to(*expected.centre_of(button))
    over_button = x_input.grab()
    band, inside = expected.outline_report(before, over_button, button)
    check.at_least("share of the button's frame inverted while over it", 0.9, band)
    check.at_least("share of the contents box restored after leaving it", 0.98,
                   expected.unchanged_share(before, over_button, box))

    drag.to(*end)
    over_target = x_input.grab()
    check.at_least("share of the button restored after leaving it", 0.98,
                   expected.unchanged_share(before, over_target, button))
    band, inside = expected.outline_report(before, over_target, target["rect"])
    check.at_least("share of the other program's list box's frame inverted while over it", 0.9, band)
    check.at_least("share of that list box's inside unchanged", 0.95, inside)
    drag.release()
    time.sleep(0.5)
    after = x_input.grab()
    check.equal("handle of the window released on", expected.handle_text(target["hwnd"]),
                q.text(IDC_WINDOW_HANDLE))
    for name, rect in (("contents box", box), ("Get Count button", button),
                       ("target list box", target["rect"])):
        check.at_least("share of the %s as before the drag" % name, 0.99,
                       expected.unchanged_share(before, after, rect))


def read_lists(check, stage, ids=(101, 104, 103, 102, 106, 105)):
    """Get Count and Get Contents on each kind of box; a new pick leaves the
    count and the contents alone; reading twice replaces; Clear."""
    q = stage.quarvel
    for control_id in ids:
        before = (q.text(IDC_LIST_COUNT), q.text(IDC_CONTENTS))
        pick_and_check(check, stage, control_id)
        check.equal("count and contents kept after picking %d" % control_id, before,
                    (q.text(IDC_LIST_COUNT), q.text(IDC_CONTENTS)))
        items = expected.items_of(control_id)
        read_count(check, stage, control_id, len(items))
        if read_contents(check, stage, control_id, items, timeout=30):
            check.equal("ANSI bytes of the contents of %d" % control_id,
                        expected.ansi_bytes(expected.contents_text(items)).hex(),
                        q.state()["contents_ansi_hex"])
        check.equal("count kept by Get Contents on %d" % control_id,
                    expected.count_sentence(len(items)), q.text(IDC_LIST_COUNT))

    control_id = ids[0]
    items = expected.items_of(control_id)
    pick_and_check(check, stage, control_id)
    read_contents(check, stage, control_id, items)
    read_contents(check, stage, control_id, items)  # replaces, does not add

    shown = (q.text(IDC_WINDOW_HANDLE), q.text(IDC_WINDOW_TEXT), q.text(IDC_LIST_COUNT))
    q.click(IDC_CLEAR)
    check.equal("contents after Clear", "", q.wait_text(IDC_CONTENTS, ""))
    check.equal("handle, text and count kept by Clear", shown,
                (q.text(IDC_WINDOW_HANDLE), q.text(IDC_WINDOW_TEXT), q.text(IDC_LIST_COUNT)))


def read_other_lists(check, stage, ids=(301, 302, 304, 305, 306)):
    """Get Count and Get Contents on list views, a tree view, a drop-down list
    combo box and an owner-drawn list box without strings."""
    q = stage.quarvel
    for control_id in ids:
        if control_id == 304 and stage.fixture_beyond_reach:
            continue  # read_toolkit_lists shows what the 32-bit Quarvel says
        pick_and_check(check, stage, control_id)
        sentence, text = expected.other_list(control_id)
        q.click(IDC_GET_COUNT)
        check.equal("count sentence of %d" % control_id, sentence,
                    q.wait_text(IDC_LIST_COUNT, sentence))
        q.click(IDC_GET_CONTENTS)
        check.equal("contents of %d" % control_id, text, q.wait_text(IDC_CONTENTS, text, 10))


def read_toolkit_lists(check, stage):
    """A list view and a tree view under toolkit class names, and a tree whose
    program supplies its texts on demand and answers them by pointer. A
    32-bit Quarvel reads a 64-bit program's tree only when it can name every
    item (all in view): the fixture's tree with collapsed branches then gets
    the sentence that sends it to the 64-bit Quarvel, and no partial tree."""
    q = stage.quarvel
    lists = [(i,) + expected.toolkit_list(i) for i in (309, 310, 311)]
    if stage.fixture_beyond_reach:
        lists.append((304, expected.NEEDS_64_BIT, ""))
    for control_id, sentence, text in lists:
        pick_and_check(check, stage, control_id)
        q.click(IDC_GET_COUNT)
        check.equal("count sentence of %d" % control_id, sentence, q.wait_text(IDC_LIST_COUNT, sentence))
        q.click(IDC_CONTENTS)
        x_input.type_text("stale")
        q.click(IDC_GET_CONTENTS)
        check.equal("contents of %d" % control_id, text, q.wait_text(IDC_CONTENTS, text, 10))
        check.equal("count line after Get Contents on %d" % control_id, sentence, q.text(IDC_LIST_COUNT))


def check_clipboard(check, stage, label, ansi, text):
    """Both entries as a Wine program reads them, and the X clipboard."""
    board = stage.probe.clipboard()
    block = expected.clipboard_block(ansi)
    check.true("clipboard holds text (%s)" % label, board.get("has_block"), repr(board))
    check.equal("CF_TEXT bytes (%s)" % label, block.hex(), board.get("hex"))
    check.equal("CF_TEXT block size (%s)" % label, len(block), board.get("size"))
    check.equal("CF_UNICODETEXT block (%s)" % label, expected.unicode_block(text or "").hex(),
                board.get("unicode_hex"))
    if text is not None:
        check.equal("X clipboard text (%s)" % label, expected.x_clipboard_text(text),
                    x_input.x_clipboard())


def clipboard(check, stage, ids=(101, 104)):
    """Clipboard copies exactly what the contents box holds: read items,
    non-ASCII ones, typed text, and an empty box."""
    q, probe = stage.quarvel, stage.probe
    for control_id in ids:
        pick_and_check(check, stage, control_id)
        items = expected.items_of(control_id)
        read_contents(check, stage, control_id, items)
        probe.set_clipboard(SENTINEL)
        q.click(IDC_CLIPBOARD)
        text = expected.contents_text(items)
        check_clipboard(check, stage, "items of %d" % control_id, expected.ansi_bytes(text), text)

    q.click(IDC_CLEAR)
    q.click(IDC_CONTENTS)
    typed = "typed by hand"
    x_input.type_text(typed)
    check.equal("contents after typing", typed, q.wait_text(IDC_CONTENTS, typed))
    probe.set_clipboard(SENTINEL)
    q.click(IDC_CLIPBOARD)
    check_clipboard(check, stage, "typed text", typed.encode("cp1252"), typed)

    q.click(IDC_CLEAR)
    check.equal("contents after Clear", "", q.wait_text(IDC_CONTENTS, ""))
    probe.set_clipboard(SENTINEL)
    q.click(IDC_CLIPBOARD)
    check_clipboard(check, stage, "empty box", b"", None)
    check.true("X clipboard no longer offers the old text",
               x_input.x_clipboard() != SENTINEL)


def unicode_text(check, stage, code_page="cp1252"):
    """Characters beyond the ANSI code page are kept: a Japanese caption cut
    at 511 UTF-16 units without splitting a character, a list of such items
    in the box and in CF_UNICODETEXT, and CF_TEXT in the system's code page
    (`code_page`, the one Quarvel was started under) with "?" for what it
    lacks."""
    q, probe = stage.quarvel, stage.probe
    titled = stage.fixture["titled"]
    q.pick(titled)
    check.equal("handle of the titled window", expected.handle_text(titled["hwnd"]),
                q.wait_text(IDC_WINDOW_HANDLE, expected.handle_text(titled["hwnd"])))
    check.equal("Japanese caption, cut", expected.shown_window_text(expected.TITLED_CAPTION),
                q.text(IDC_WINDOW_TEXT))

    pick_and_check(check, stage, 107)
    items = expected.shown_items(expected.items_of(107))
    read_count(check, stage, 107, len(items))
    read_contents(check, stage, 107, items)
    probe.set_clipboard(SENTINEL)
    q.click(IDC_CLIPBOARD)
    text = expected.contents_text(items)
    check_clipboard(check, stage, "items of 107", expected.system_code_page_bytes(text, code_page), text)


def unicode_text_cyrillic(check, stage):
    """The same under a Russian locale, code page 1251: it holds neither the
    Japanese nor the accented Latin letters, so any text that passed through
    the code page on its way to the box or the clipboard would show "?"."""
    unicode_text(check, stage, "cp1251")


BUSY_CAPTION = "Quarvel \u2014 clipboard busy, nothing copied"


def busy_clipboard(check, stage):
    """While another program holds the clipboard open, Clipboard says so in
    the caption and leaves the clipboard as it was; once it lets go, the next
    click copies exactly."""
    q, probe = stage.quarvel, stage.probe
    pick_and_check(check, stage, 104)
    items = expected.items_of(104)
    read_contents(check, stage, 104, items)
    probe.set_clipboard(SENTINEL)
    check.true("the probe holds the clipboard", probe.ask("holdclip")["ok"])
    try:
        q.click(IDC_CLIPBOARD)
        wait_for(lambda: _caption(q) == BUSY_CAPTION, 5)
        check.equal("caption while the clipboard is held", BUSY_CAPTION, _caption(q))
    finally:
        probe.ask("releaseclip")
    check.equal("clipboard left as it was", SENTINEL.encode("ascii").hex(),
                (probe.clipboard().get("hex") or "")[:2 * len(SENTINEL)])
    q.click(IDC_CLIPBOARD)
    text = expected.contents_text(items)
    check_clipboard(check, stage, "after the holder let go", expected.ansi_bytes(text), text)
    check.equal("caption after a copy went through", "Quarvel", _caption(q))


def open_about(check, stage):
    q, probe = stage.quarvel, stage.probe
    q.click(IDC_ABOUT)
    about = wait_for(lambda: _about(probe, q.hwnd), 10, 0.2)
    check.true("About box opens", about)
    return about


def _about(probe, owner):
    answer = probe.about(owner)
    return answer if answer["ok"] and answer["window"]["visible"] else None


def about(check, stage):
    """About opens centred on the dialog with the focus on OK, keeps the
    dialog disabled while up, and closes with Enter and with Escape."""
    q, probe = stage.quarvel, stage.probe
    area = probe.work_area()
    for key in ("Return", "Escape"):
        box = open_about(check, stage)
        if not box:
            return
        window = box["window"]
        dialog = q.rect()
        check.equal("About box's top-left corner", expected.centred_origin(
            expected.size_of(window["rect"]), dialog, area), tuple(window["rect"][:2]))
        check.equal("About caption", "About", window["text"])
        check.equal("focus in the About box", IDOK, box["focus_id"])
        check.true("main dialog disabled while About is up", not q.state()["window"]["enabled"])
        caption = (window["rect"][0] + 40, window["rect"][1] + 10)
        x_input.focus_window(window["xid"], caption)
        x_input.key(key)
        closed = wait_for(lambda: not probe.about(q.hwnd)["ok"], 5, 0.1)
        check.true("About box closed by %s" % key, closed)
        check.true("main dialog enabled after About closed by %s" % key,
                   wait_for(lambda: q.state()["window"]["enabled"], 3))
        check.true("Quarvel still runs after About closed by %s" % key, q.running())


def hung_list(check, stage):
    """A list box whose thread stopped answering does not freeze the dialog:
    the count times out as -1 and the keyboard still works."""
    q, probe = stage.quarvel, stage.probe
    pick_and_check(check, stage, 201)
    read_count(check, stage, 201, 3)
    probe.post(stage.fixture["hung"]["hwnd"], HANG)
    time.sleep(0.5)

    started = time.monotonic()
    q.click(IDC_GET_COUNT, settle=0)
    check.equal("count sentence of the hung list box", expected.count_sentence(-1),
                q.wait_text(IDC_LIST_COUNT, expected.count_sentence(-1), 30))
    print("   Get Count on the hung list answered after %.1f s" % (time.monotonic() - started))

    q.click(IDC_GET_CONTENTS, settle=0)
    started = time.monotonic()
    q.keys("Tab")
    moved = wait_for(lambda: q.focus_id() == IDC_CLIPBOARD, 8, 0.2)
    check.true("Tab moves the focus from Get Contents to Clipboard after reading a hung list",
               moved, "focus on %s" % q.focus_id())
    print("   Tab moved the focus %.1f s after Get Contents" % (time.monotonic() - started))

    # A pick while another program hangs: ending the drag waits on no one.
    pick_and_check(check, stage, 101)
    read_count(check, stage, "101 after a pick made while another list box hangs", 2)
    check.true("Quarvel still runs", q.running())


def _exit_with(check, stage, how, act):
    q = stage.quarvel
    act(q)
    code = q.exit_code(stage.exit_timeout)
    check.equal("exit code after %s" % how, EXIT_CODE_CLOSED, code)
    check.true("dialog gone after %s" % how, not stage.probe.window(q.hwnd)["exists"])


def exit_escape(check, stage):
    _exit_with(check, stage, "Escape", lambda q: q.keys("Escape"))


def exit_alt_f4(check, stage):
    _exit_with(check, stage, "Alt+F4", lambda q: q.keys("alt+F4"))


def exit_close_button(check, stage):
    _exit_with(check, stage, "the close button",
               lambda q: x_input.click_at(*q.close_button_point()))


def read_other_arch(check, stage):
    """Quarvel reads the list boxes, the list view and the tree view of a
    program of the other architecture."""
    for control_id in (101, 104):
        pick_and_check(check, stage, control_id)
        items = expected.items_of(control_id)
        read_count(check, stage, control_id, len(items))
        read_contents(check, stage, control_id, items)
    read_other_lists(check, stage, (301, 304))
    exit_escape(check, stage)


LONG_FIXTURE_TITLE = expected.FIXTURE_TITLE + " long"
LONG_ITEMS = 10000


def _caption(q):
    return q.state()["window"]["text"]


def _start_long_read(check, stage, target, label):
    q = stage.quarvel
    q.pick(target)
    q.click(IDC_GET_CONTENTS, settle=0)
    progress = wait_for(lambda: "of 10,000 items" in _caption(q), 10, 0.05)
    check.true("caption shows the progress of the read (%s)" % label, progress, _caption(q))
    return progress


def long_read(check, stage):
    """Reading 10,000 items of another program takes seconds here; all the
    while the dialog answers the keyboard and shows its progress. Clear and a
    new pick cancel the read; Escape ends Quarvel at once."""
    session = stage.session
    # Started while Quarvel is up: it must not raise itself over the dialog
    # when its focus event arrives, after the raise below.
    session.start_fixture(LONG_FIXTURE_TITLE, session.helper_bin, "--many", str(LONG_ITEMS),
                          "--activate", "no")
    try:
        _long_read(check, stage, session.fixture(LONG_FIXTURE_TITLE)["controls"]["105"])
    finally:
        session.end_fixture(LONG_FIXTURE_TITLE)


def _long_read(check, stage, target):
    q = stage.quarvel
    stage.probe.ask("raise %d" % q.hwnd)  # the new fixture opened above it
    short_items = expected.items_of(101)
    pick_and_check(check, stage, 101)
    read_contents(check, stage, 101, short_items)

    _start_long_read(check, stage, target, "Tab")
    started = time.monotonic()
    q.keys("Tab")
    moved = wait_for(lambda: q.focus_id() == IDC_CLIPBOARD, 2, 0.05)
    check.true("Tab moves the focus from Get Contents to Clipboard during the read", moved,
               "focus on %s" % q.focus_id())
    print("   Tab took effect within %.2f s during the read" % (time.monotonic() - started))
    check.true("still reading after Tab", _caption(q) != "Quarvel", _caption(q))
    q.click(IDC_CLEAR)
    check.true("caption back after Clear", wait_for(lambda: _caption(q) == "Quarvel", 3), _caption(q))
    time.sleep(1.5)
    check.equal("contents after Clear cancelled the read", "", q.text(IDC_CONTENTS))

    pick_and_check(check, stage, 101)
    read_contents(check, stage, 101, short_items)
    _start_long_read(check, stage, target, "new pick")
    pick_and_check(check, stage, 101)
    check.true("caption back after a new pick", wait_for(lambda: _caption(q) == "Quarvel", 3),
               _caption(q))
    time.sleep(1.5)
    check.equal("contents kept by a pick that cancelled the read",
                expected.contents_text(short_items), q.text(IDC_CONTENTS))

    _start_long_read(check, stage, target, "Escape")
    started = time.monotonic()
    q.keys("Escape")
    code = q.exit_code(5)
    check.equal("exit code after Escape during the read", EXIT_CODE_CLOSED, code)
    print("   Quarvel ended %.2f s after Escape during the read" % (time.monotonic() - started))

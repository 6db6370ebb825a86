"""What Quarvel should show and hand over, worked out independently of it,
and the comparisons of screen areas. Pure logic: no process, no display."""

FIXTURE_TITLE = "Quarvel list fixture"
FIXTURE_MANY = 1000

# The list fixture's boxes by control id, as their owner holds them.
FIXTURE_ITEMS = {
    101: ["alpha", "beta"],
    102: [],
    103: ["x" * 255, "0123456789" * 100],
    104: ["caf\u00e9", "na\u00efve", "Gr\u00fc\u00dfe"],
    106: [],  # a static control: it answers the list messages with 0
    # Beyond code page 1252, added wide: Japanese, Greek, a character beyond
    # the BMP, a combining mark, an item that fits 1252, a lone surrogate.
    107: ["\u65e5\u672c\u8a9e\u306e\u30ea\u30b9\u30c8", "\u03a9\u03bc\u03ad\u03b3\u03b1",
          "smile \U0001f600", "cafe\u0301", "caf\u00e9", "lone \ud800 half"],
    201: ["one", "two", "three"],
}
NOT_A_LIST_TEXT = "not a list box"
# The caption of the fixture's third top-level window: 515 UTF-16
# units, a character beyond the BMP at units 510 and 511.
TITLED_CAPTION = ("\u65e5\u672c\u8a9e\u306e\u30bf\u30a4\u30c8\u30eb" * 64)[:510] + "\U0001f600\u7d42\u308f\u308a"


def digits(length):
    return ("0123456789" * (length // 10 + 1))[:length]


# The fixture's other lists: the report view's columns by index, the order
# they are shown in, and its rows; the tree as (text, children).
REPORT_COLUMNS = ["Name", "Size", "Note"]
REPORT_ORDER = [2, 0, 1]
REPORT_ROWS = [
    ["alpha", "1", "plain"],
    ["tab\there", "2", "line one\r\nline two"],
    ["\u4e2d\u6587 \U0001d11e", "3", 'say "hi"'],
    ['"quoted" start', "", ""],
]
TREE = [("Fruits", [("Apple", []), ("Citrus", [("Lemon", []), ("Lime", [])]), ("tab\tpear", [])]),
        ("Vegetables", [("Kale", [])]),
        ("long " + digits(400), [])]


def field(text):
    """A cell as a spreadsheet takes it back from TAB-separated lines."""
    if any(c in text for c in "\t\r\n") or text.startswith('"'):
        return '"' + text.replace('"', '""') + '"'
    return text


def report_text(columns, order, rows):
    lines = [[columns[i] for i in order]] + [[row[i] for i in order] for row in rows]
    return "".join("\t".join(field(cell) for cell in line) + "\r\n" for line in lines)


def tree_text(items, depth=0):
    return "".join("\t" * depth + field(text) + "\r\n" + tree_text(children, depth + 1)
                   for text, children in items)


# Lists under toolkit class names, and a tree whose program answers its texts
# by pointer.
TOOLKIT_COLUMNS = ["Name", "Kind"]
TOOLKIT_ROWS = [["form.cs", "source"], ["icon.ico", "image"], ["notes", ""]]
TOOLKIT_TREE = [("Project", [("src", [("main.pas", []), ("unit1.pas", [])]), ("README", [])])]
ON_DEMAND_TREE = [("Inbox", [("Today", []), ("Yesterday", [])]), ("Sent \u2709", [])]
NEEDS_64_BIT = "TreeView of a 64-bit program: use the 64-bit Quarvel"


def toolkit_list(control_id):
    """Get Count's sentence and Get Contents' text for the toolkit-style lists."""
    return {
        309: ("ListView contains 3 items", report_text(TOOLKIT_COLUMNS, [0, 1], TOOLKIT_ROWS)),
        310: ("TreeView contains 5 items", tree_text(TOOLKIT_TREE)),
        311: ("TreeView contains 4 items", tree_text(ON_DEMAND_TREE)),
    }[control_id]


def other_list(control_id):
    """Get Count's sentence and Get Contents' text for one of the other lists."""
    return {
        301: ("ListView contains 4 items", report_text(REPORT_COLUMNS, REPORT_ORDER, REPORT_ROWS)),
        302: ("ListView contains 4 items", "virtual 0\r\nvirtual 1\r\nvirtual 2\r\n" + digits(1000) + "\r\n"),
        304: ("TreeView contains 9 items", tree_text(TREE)),
        305: ("ComboBox contains 3 items", "red\r\ngreen\r\nblue\r\n"),
        306: ("ListBox contains 3 items without text", ""),
    }[control_id]


def many_items(count=FIXTURE_MANY):
    return ["item %06d of the many-item list" % i for i in range(count)]


def items_of(control_id):
    return many_items() if control_id == 105 else FIXTURE_ITEMS[control_id]


def handle_text(hwnd):
    return "0x%x" % hwnd


def count_sentence(count):
    return "ListBox contains %d items" % count


def contents_text(items):
    """Every item followed by CR LF, the last one too."""
    return "".join(item + "\r\n" for item in items)


def shown_items(items):
    """Items as the contents box shows them: a lone surrogate replaced."""
    return ["".join("\ufffd" if 0xD800 <= ord(c) <= 0xDFFF else c for c in item) for item in items]


def shown_window_text(caption, limit=511):
    """The first `limit` UTF-16 units of a caption, fewer rather than half a
    character."""
    shown, units = "", 0
    for c in caption:
        units += 2 if ord(c) > 0xFFFF else 1
        if units > limit:
            break
        shown += c
    return shown


def system_code_page_bytes(text, code_page="cp1252"):
    """CF_TEXT's bytes: the system's code page (1252 in the test prefix,
    1251 under a Russian locale), "?" for each character it lacks."""
    return text.encode(code_page, errors="replace")


def unicode_block(text):
    """The CF_UNICODETEXT block: UTF-16 and its terminator."""
    return (text + "\0").encode("utf-16-le")


def ansi_bytes(text):
    """The contents as the ANSI code page (1252 in the test prefix) has them."""
    return text.encode("cp1252")


def clipboard_block(ansi):
    """The CF_TEXT block for the box's bytes: the text in a zero-filled block
    twice its length; an empty box gives a block of one zero byte."""
    if not ansi:
        return b"\0"
    return ansi + b"\0" * len(ansi)


def x_clipboard_text(text):
    """What an X client reads back: CR LF becomes LF."""
    return text.replace("\r\n", "\n")


def _half(value):
    """Signed halving that truncates toward zero, as the C division does."""
    return -((-value) // 2) if value < 0 else value // 2


def centred_origin(size, centre, area):
    """Top-left corner of a window of `size` (width, height) centred on the
    `centre` rectangle and pulled back into `area`; the left and top edges win
    when the window is larger than the area."""
    width, height = size

    def along(low, high, extent, area_low, area_high):
        position = _half(low + high) - _half(extent)
        if position < area_low:
            return area_low
        if position + extent > area_high:
            return area_high - extent
        return position

    x = along(centre[0], centre[2], width, area[0], area[2])
    y = along(centre[1], centre[3], height, area[1], area[3])
    return x, y


def size_of(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


def centre_of(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def inside(point, rect):
    return rect[0] <= point[0] < rect[2] and rect[1] <= point[1] < rect[3]


def visible_point(target, covers, margin=6):
    """A point of `target` at least `margin` pixels inside it and outside
    every rectangle of `covers`, nearest the target's centre; None if none."""
    cx, cy = centre_of(target)
    candidates = [(x, y)
                  for x in range(target[0] + margin, target[2] - margin, 4)
                  for y in range(target[1] + margin, target[3] - margin, 4)]
    candidates.sort(key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)
    for point in candidates:
        if not any(inside(point, cover) for cover in covers):
            return point
    return None


def first_difference(expected, found):
    """Index of the first differing character, or None when equal."""
    if expected == found:
        return None
    for i, (a, b) in enumerate(zip(expected, found)):
        if a != b:
            return i
    return min(len(expected), len(found))


# Screen areas. `before` and `after` are images with pixel(x, y) -> (r, g, b)
# in screen coordinates.

def band_points(rect, width):
    """The points of the frame `width` pixels wide along the inside edge."""
    left, top, right, bottom = rect
    for y in range(top, bottom):
        for x in range(left, right):
            if (x < left + width or x >= right - width
                    or y < top + width or y >= bottom - width):
                yield x, y


def interior_points(rect, inset, step=3):
    left, top, right, bottom = rect
    for y in range(top + inset, bottom - inset, step):
        for x in range(left + inset, right - inset, step):
            yield x, y


def fraction(points, predicate):
    points = list(points)
    if not points:
        return 0.0
    return sum(1 for p in points if predicate(p)) / len(points)


def inverted(before, after):
    """True at a point whose colour turned into its inverse."""
    def test(point):
        b, a = before.pixel(*point), after.pixel(*point)
        return all(abs((255 - x) - y) <= 2 for x, y in zip(b, a))
    return test


def unchanged(before, after):
    def test(point):
        return before.pixel(*point) == after.pixel(*point)
    return test


# Pen of three border widths (one pixel each here), drawn inside the window.
FRAME_WIDTH = 3


def outline_report(before, during, rect):
    """(share of the frame band inverted, share of the inside left alone)."""
    return (fraction(band_points(rect, FRAME_WIDTH), inverted(before, during)),
            fraction(interior_points(rect, FRAME_WIDTH + 2), unchanged(before, during)))


def unchanged_share(before, after, rect):
    """Share of the points of `rect` that kept their colour."""
    return fraction(interior_points(rect, 0, 1), unchanged(before, after))

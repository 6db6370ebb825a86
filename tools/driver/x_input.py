"""Mouse, keyboard and screen of the X display, as a person would use them.

X root coordinates are the Win32 screen coordinates under Wine, so points
taken from window rectangles can be handed to xdotool unchanged."""

import subprocess
import time

STEP_PAUSE = 0.03


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=15,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def move(x, y):
    xdotool("mousemove", x, y)


def click_at(x, y):
    xdotool("mousemove", x, y, "click", 1)
    time.sleep(0.15)


def path(start, end, steps):
    """Points from `start` to `end` (both included) in `steps` equal steps."""
    (x0, y0), (x1, y1) = start, end
    steps = max(1, steps)
    return [(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps))
            for i in range(steps + 1)]


class Drag:
    """A left-button drag in small steps. X's implicit grab keeps the moves
    going to the window that got the press, as a person's drag does."""

    def __init__(self, x, y):
        self.position = (x, y)
        xdotool("mousemove", x, y)
        time.sleep(0.05)
        xdotool("mousedown", 1)
        time.sleep(0.1)

    def to(self, x, y, steps=8):
        for point in path(self.position, (x, y), steps)[1:]:
            xdotool("mousemove", *point)
            time.sleep(STEP_PAUSE)
        self.position = (x, y)
        time.sleep(0.15)

    def release(self):
        xdotool("mouseup", 1)
        time.sleep(0.3)


def drag(start, end, steps=10):
    d = Drag(*start)
    d.to(*end, steps=steps)
    d.release()


def focus_window(xid, caption_point):
    """Keys reach the Win32 foreground window through the focused X window:
    a click on the caption (the client area of Quarvel's dialog would start
    the finder) and an X focus change make it both."""
    click_at(*caption_point)
    xdotool("windowfocus", "--sync", xid)
    time.sleep(0.1)


def key(*names):
    xdotool("key", "--delay", 60, *names)
    time.sleep(0.2)


def type_text(text):
    xdotool("type", "--delay", 40, text)
    time.sleep(0.2)


def x_clipboard():
    """The clipboard as another X client sees it (UTF-8, CR LF as LF), or
    None when nobody offers text."""
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                            timeout=10)
    if result.returncode != 0:
        return None
    return result.stdout.decode("utf-8", "replace")


class Image:
    """An 8-bit RGB screen area read from a binary PPM."""

    def __init__(self, width, height, pixels, origin=(0, 0)):
        self.width, self.height, self.pixels, self.origin = width, height, pixels, origin

    def pixel(self, x, y):
        """RGB at screen point (x, y)."""
        i = 3 * ((y - self.origin[1]) * self.width + (x - self.origin[0]))
        return tuple(self.pixels[i:i + 3])

    def contains(self, x, y):
        return (self.origin[0] <= x < self.origin[0] + self.width
                and self.origin[1] <= y < self.origin[1] + self.height)


def parse_ppm(data, origin=(0, 0)):
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("not an 8-bit binary PPM: %r" % fields)
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + 3 * width * height]
    return Image(width, height, pixels, origin)


def grab(rect=None):
    """The screen, or the part inside rect (left, top, right, bottom)."""
    command = ["import", "-silent", "-window", "root"]
    origin = (0, 0)
    if rect:
        left, top, right, bottom = rect
        command += ["-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top)]
        origin = (left, top)
    command += ["-depth", "8", "ppm:-"]
    data = subprocess.run(command, check=True, capture_output=True, timeout=30).stdout
    return parse_ppm(data, origin)


def save_screenshot(path):
    subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", path],
                   check=False, capture_output=True, timeout=30)

"""What the end-to-end drivers of both widgetsets share: bounded waits, a private
Xvfb, screenshots read from ImageMagick's PPM, and where the main window's entries
lie. Every wait polls for a condition with a bounded timeout; nothing sleeps blindly.
"""
import os
import select
import subprocess
import time

TIMEOUT = 30.0  # seconds, for every single wait

CAPTION_GREEN = (1, 113, 54)
WHITE = (255, 255, 255)
CLIENT = (887, 591)
# Where the captions start (the labels size themselves to their text).
LABEL_ORIGINS = {"Label1": (704, 244), "Label3": (704, 511), "Label4": (704, 368)}
LABEL_HEIGHT = 19
PICTURES = {  # left, top, width, height
    "Image2": (693, 102, 116, 84), "Image3": (609, 220, 118, 82),
    "Image5": (593, 478, 136, 94), "Image6": (609, 350, 77, 79),
}


def wait_for(condition, what, timeout=TIMEOUT, interval=0.05):
    """Polls condition() until it returns something true; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def stop_process(process):
    """Asks a process to end; kills it when it does not within the timeout."""
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def label_rect(name, width=60):
    left, top = LABEL_ORIGINS[name]
    return (left, top, width, LABEL_HEIGHT)


def caption_rects():
    """Every caption's band up to the window's right edge: where text is drawn."""
    return [(left, top, CLIENT[0] - left, LABEL_HEIGHT) for left, top in LABEL_ORIGINS.values()]


class Xvfb:
    """A private X server; its display number comes through -displayfd."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + TIMEOUT
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                break
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            self.stop()
            raise AssertionError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def stop(self):
        stop_process(self.process)


class Screenshot:
    """The client area of a window, from a binary PPM of the whole X window; offset
    is where the client area lies in it (Wine draws its frame itself)."""

    def __init__(self, ppm, offset=(0, 0)):
        # Header: four whitespace-separated fields, then exactly one whitespace byte.
        fields, pos = [], 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        assert fields[0] == b"P6" and fields[3] == b"255", "unexpected screenshot format"
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = ppm[pos + 1:]
        self.dx, self.dy = offset

    def pixel(self, x, y):
        i = ((y + self.dy) * self.width + x + self.dx) * 3
        return tuple(self.pixels[i:i + 3])

    def count(self, rect, colour, tolerance=3):
        left, top, width, height = rect
        return sum(1 for y in range(top, top + height) for x in range(left, left + width)
                   if all(abs(a - b) <= tolerance for a, b in zip(self.pixel(x, y), colour)))

    def all_white(self, rect):
        return self.count(rect, WHITE, tolerance=0) == rect[2] * rect[3]

    def client_row(self, y):
        start = ((y + self.dy) * self.width + self.dx) * 3
        return self.pixels[start:start + CLIENT[0] * 3]

    def client_bytes(self):
        return b"".join(self.client_row(y) for y in range(CLIENT[1]))


def grab(window, env, offset=(0, 0)):
    """A screenshot of an X window by ImageMagick's import."""
    ppm = subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"], env=env,
                         capture_output=True, timeout=TIMEOUT, check=True).stdout
    return Screenshot(ppm, offset)


def save_png(window, env, path):
    """Keeps a screenshot for whoever reads a failed run."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["import", "-window", window, path], env=env, timeout=TIMEOUT, check=False)


class X11Program:
    """What both drivers do with the launcher's process and windows; a subclass sets
    self.env (with DISPLAY) and self.process."""

    env = None
    process = None

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=TIMEOUT).stdout.split()

    def named_window(self, name):
        def search():
            found = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % name)
            return found[0] if found else None
        return wait_for(search, "a window named %r" % name)

    def wait_window_gone(self, name):
        wait_for(lambda: not self.xdotool("search", "--onlyvisible", "--name", "^%s$" % name),
                 "the window %r to close" % name)

    def wait_exit(self):
        wait_for(lambda: self.process.poll() is not None, "the launcher to end")
        return self.process.returncode

    @staticmethod
    def read_record(path):
        wait_for(lambda: os.path.exists(path), "the record " + os.path.basename(path))
        with open(path, encoding="utf-8") as f:
            return f.read().splitlines()


def check_installed_layout(test, shot):
    """The layout with an installed copy and the CD's background."""
    for name in ("Label1", "Label3", "Label4"):
        test.assertGreater(shot.count(label_rect(name), CAPTION_GREEN), 20, name)
    # The captions draw over the pictures they overlap.
    test.assertGreater(shot.count((704, 244, 23, LABEL_HEIGHT), CAPTION_GREEN), 5, "Description caption")
    test.assertGreater(shot.count((704, 511, 25, LABEL_HEIGHT), CAPTION_GREEN), 5, "Exit caption")
    # The background shows where no entry is: the artwork, not white.
    test.assertNotEqual(shot.pixel(300, 40), WHITE)
    test.assertNotEqual(shot.pixel(850, 300), WHITE)
    for name in ("Image2", "Image3", "Image5", "Image6"):
        test.assertFalse(shot.all_white(PICTURES[name]), name)


def check_launch_entry_hidden(test, shot):
    """White where the Launch / Update picture and caption would be."""
    test.assertTrue(shot.all_white(PICTURES["Image6"]))
    test.assertTrue(shot.all_white(label_rect("Label4", 168)))


def check_not_installed_layout_without_background(test, shot):
    for name in ("Label1", "Label3"):
        test.assertGreater(shot.count(label_rect(name), CAPTION_GREEN), 20, name)
    check_launch_entry_hidden(test, shot)
    # No background: white around the entries, to the corners.
    for point in ((300, 300), (10, 10), (850, 580), (0, 0), (886, 590)):
        test.assertEqual(shot.pixel(*point), WHITE, point)
    # The brochure, Description and Exit pictures are drawn.
    for name in ("Image2", "Image3", "Image5"):
        test.assertFalse(shot.all_white(PICTURES[name]), name)

#!/usr/bin/env python3
"""End-to-end tests of the Windows launcher under Wine on a private Xvfb: the real
executable run from bin\\ of a copy of the laid-out CD, registry contents made by
Wine's reg (the installed copy in the 32-bit view of HKEY_LOCAL_MACHINE only), and
a stub Windows program as the installed product, which records how it was started
and can hold the mutex "NOL_RUNNING".

    launcher_wine_e2e.py --wine-run PATH --prefix DIR --cd DIR --stub EXE [unittest args]

Where Wine differs from Windows in a way a test sees, the test says so in one line.
Every wait polls for a condition with a bounded timeout; nothing sleeps blindly.
"""
import argparse
import os
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

ARGS = None
TIMEOUT = 30.0  # seconds, for every single wait
SKIP = 77       # ctest's SKIP_RETURN_CODE

CAPTION_GREEN = (1, 113, 54)
WHITE = (255, 255, 255)
CLIENT = (887, 591)
MAIN_CAPTION = "Квиллбокс «ЛОРАНТА». ПО к «Еженедельнику ЛОРАНТА»."
LABEL_ORIGINS = {"Label1": (704, 244), "Label3": (704, 511), "Label4": (704, 368)}
LABEL_HEIGHT = 19
PICTURES = {  # left, top, width, height
    "Image2": (693, 102, 116, 84), "Image3": (609, 220, 118, 82),
    "Image5": (593, 478, 136, 94), "Image6": (609, 350, 77, 79),
}
UNINSTALL_K1 = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\VEX7420_2.0_is1"
UNINSTALL_K2 = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\VEX7420\2.0_is1"
USER_K1 = "HKCU" + UNINSTALL_K1[4:]
USER_K2 = "HKCU" + UNINSTALL_K2[4:]
VERSION_KEY = r"HKCU\SOFTWARE\Halvern\Quillbox\2.0"


def wait_for(condition, what, timeout=TIMEOUT, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def windows_path(path):
    """The Wine path of a POSIX path: drive Z: is the root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def pe_bits(path):
    with open(path, "rb") as f:
        head = f.read(4096)
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    return 32 if struct.unpack_from("<H", head, offset + 4)[0] == 0x14C else 64


def wine(*args, env=None, check=True):
    return subprocess.run([ARGS.wine_run, "--prefix", ARGS.prefix, *args], env=env, capture_output=True,
                          timeout=TIMEOUT * 2, check=check)


def reg(*args):
    wine("reg", *args, env=dict(os.environ, DISPLAY=""))


def reg_clear(root, keys):
    """Deletes keys in both views of the registry: the 64-bit one by one import of a
    .reg file, the 32-bit one key by key (Wine's reg import deletes in the 64-bit
    view whatever view it is given)."""
    path = os.path.join(root, "clear.reg")
    text = "Windows Registry Editor Version 5.00\r\n\r\n" + "".join(
        "[-%s]\r\n\r\n" % key.replace("HKLM", "HKEY_LOCAL_MACHINE").replace("HKCU", "HKEY_CURRENT_USER")
        for key in keys)
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))  # as regedit writes it
    reg("import", windows_path(path), "/reg:64")
    for key in keys:
        if key.startswith("HKLM"):
            wine("reg", "delete", key, "/reg:32", "/f", env=dict(os.environ, DISPLAY=""), check=False)


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
        self.process.terminate()
        try:
            self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


class Screenshot:
    """The client area of a window, from a binary PPM of the whole X window."""

    def __init__(self, ppm, offset):
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
        self.full_width = int(fields[1])
        self.pixels = ppm[pos + 1:]
        self.dx, self.dy = offset

    def pixel(self, x, y):
        i = ((y + self.dy) * self.full_width + x + self.dx) * 3
        return tuple(self.pixels[i:i + 3])

    def count(self, rect, colour, tolerance=3):
        left, top, width, height = rect
        return sum(1 for y in range(top, top + height) for x in range(left, left + width)
                   if all(abs(a - b) <= tolerance for a, b in zip(self.pixel(x, y), colour)))

    def all_white(self, rect):
        return self.count(rect, WHITE, tolerance=0) == rect[2] * rect[3]

    def client_bytes(self):
        return b"".join(self.pixels[((y + self.dy) * self.full_width + self.dx) * 3:
                                    ((y + self.dy) * self.full_width + self.dx + CLIENT[0]) * 3]
                        for y in range(CLIENT[1]))


class WineLauncher:
    """A copy of the CD and an install folder with the stub product; the registry of
    the prefix set for them; the launcher running from the CD's bin folder."""

    def __init__(self, test, installed_view="/reg:32", version="5", background=True):
        self.test = test
        self.root = tempfile.mkdtemp(prefix="nol-wine-e2e-")
        test.addCleanup(shutil.rmtree, self.root, True)
        self.cd = os.path.join(self.root, "cd")
        shutil.copytree(ARGS.cd, self.cd)
        self.bin = os.path.join(self.cd, "bin")
        if not background:
            os.remove(os.path.join(self.cd, "img", "cd.jpg"))
        self.install = os.path.join(self.root, "install")
        os.makedirs(os.path.join(self.install, "bin"))
        os.makedirs(os.path.join(self.install, "img"))
        self.product = os.path.join(self.install, "bin", "qor7420main.exe")
        shutil.copy2(ARGS.stub, self.product)
        self.stub_record = self.product + ".record"
        self.first_paint = os.path.join(self.root, "first-paint")
        self.set_registry(installed_view, version)
        self.xvfb = Xvfb()
        test.addCleanup(self.xvfb.stop)
        self.env = dict(os.environ, DISPLAY=self.xvfb.display, NOL_FIRST_PAINT=windows_path(self.first_paint))
        self.process = None
        self.window = None

    def set_registry(self, installed_view, version):
        reg_clear(self.root, (UNINSTALL_K1, UNINSTALL_K2, USER_K1, USER_K2, VERSION_KEY))
        if installed_view:
            reg("add", UNINSTALL_K1, "/v", "InstallLocation", "/d", windows_path(self.install) + "\\",
                installed_view, "/f")
        if version is not None:
            reg("add", VERSION_KEY, "/v", "VersionFDB", "/d", version, "/f")

    def start(self):
        self.log = open(os.path.join(self.root, "launcher.log"), "wb")
        self.test.addCleanup(self.log.close)
        self.process = subprocess.Popen([ARGS.wine_run, "--prefix", ARGS.prefix, "nol_cdrun.exe"], cwd=self.bin,
                                        env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
        self.test.addCleanup(self.end)
        wait_for(lambda: os.path.exists(self.first_paint) or self.process.poll() is not None, "the first paint")
        if self.process.poll() is not None:
            self.log.flush()
            with open(self.log.name, encoding="utf-8", errors="replace") as f:
                raise AssertionError("the launcher ended with %d before painting: %r" % (self.process.returncode, f.read()))
        with open(self.first_paint, encoding="utf-8") as f:
            self.test.assertEqual(f.read().splitlines(), ["887x591", MAIN_CAPTION])
        self.window = self.find_window(MAIN_CAPTION)
        return self

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=TIMEOUT).stdout.split()

    def find_window(self, name):
        def search():
            found = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % name)
            return found[0] if found else None
        return wait_for(search, "a window named %r" % name)

    def client_offset(self, window):
        """Where the client area lies in the X window: Wine draws the frame itself."""
        geometry = dict(line.split("=") for line in self.xdotool("getwindowgeometry", "--shell", window))
        width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        border = (width - CLIENT[0]) // 2
        return border, height - CLIENT[1] - border

    def grab(self):
        ppm = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, timeout=TIMEOUT, check=True).stdout
        return Screenshot(ppm, self.client_offset(self.window))

    def screenshot(self, name):
        """Once two grabs in a row agree: the first paint may still be on its way."""
        previous = [None]

        def settled():
            shot = self.grab()
            same = previous[0] is not None and shot.client_bytes() == previous[0].client_bytes()
            previous[0] = shot
            return shot if same else None
        shot = wait_for(settled, "the window's pixels to settle", interval=0.1)
        os.makedirs(ARGS.artifacts, exist_ok=True)
        subprocess.run(["import", "-window", self.window, os.path.join(ARGS.artifacts, name + ".png")],
                       env=self.env, timeout=TIMEOUT, check=False)
        return shot

    def click(self, x, y):
        dx, dy = self.client_offset(self.window)
        self.xdotool("mousemove", "--window", self.window, str(x + dx), str(y + dy), "click", "1")

    def press(self, key, window):
        # No window manager: focus is given by hand, then the key goes to it.
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", key)

    def wait_exit(self):
        wait_for(lambda: self.process.poll() is not None, "the launcher to end")
        return self.process.returncode

    def end(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def read_record(self, path):
        wait_for(lambda: os.path.exists(path), "the record " + os.path.basename(path))
        with open(path, encoding="utf-8") as f:
            return f.read().splitlines()


def label_rect(name, width=60):
    left, top = LABEL_ORIGINS[name]
    return (left, top, width, LABEL_HEIGHT)


class Layout(unittest.TestCase):
    def test_installed_layout_with_background(self):
        launcher = WineLauncher(self).start()
        shot = launcher.screenshot("wine-installed")
        for name in ("Label1", "Label3", "Label4"):
            self.assertGreater(shot.count(label_rect(name), CAPTION_GREEN), 20, name)
        # The captions draw over the pictures they overlap.
        self.assertGreater(shot.count((704, 244, 23, LABEL_HEIGHT), CAPTION_GREEN), 5, "Description caption")
        self.assertGreater(shot.count((704, 511, 25, LABEL_HEIGHT), CAPTION_GREEN), 5, "Exit caption")
        self.assertNotEqual(shot.pixel(300, 40), WHITE)
        self.assertNotEqual(shot.pixel(850, 300), WHITE)
        for name in ("Image2", "Image3", "Image5", "Image6"):
            self.assertFalse(shot.all_white(PICTURES[name]), name)

    def test_not_installed_layout_without_background(self):
        launcher = WineLauncher(self, installed_view=None, background=False).start()
        shot = launcher.screenshot("wine-not-installed-white")
        for name in ("Label1", "Label3"):
            self.assertGreater(shot.count(label_rect(name), CAPTION_GREEN), 20, name)
        self.assertTrue(shot.all_white(PICTURES["Image6"]))
        self.assertTrue(shot.all_white(label_rect("Label4", 168)))
        for point in ((300, 300), (10, 10), (850, 580), (0, 0), (886, 590)):
            self.assertEqual(shot.pixel(*point), WHITE, point)
        for name in ("Image2", "Image3", "Image5"):
            self.assertFalse(shot.all_white(PICTURES[name]), name)

    def test_install_location_in_the_64_bit_view_only_is_not_read(self):
        # The launcher reads the 32-bit view of HKEY_LOCAL_MACHINE in either build.
        launcher = WineLauncher(self, installed_view="/reg:64", background=False).start()
        shot = launcher.screenshot("wine-64-bit-view")
        self.assertTrue(shot.all_white(PICTURES["Image6"]))
        self.assertTrue(shot.all_white(label_rect("Label4", 168)))


class Actions(unittest.TestCase):
    def test_exit_ends_with_code_zero(self):
        launcher = WineLauncher(self).start()
        launcher.click(720, 520)  # the Exit caption
        self.assertEqual(launcher.wait_exit(), 0)

    def test_update_starts_the_installed_program_and_closes(self):
        launcher = WineLauncher(self, version="5")
        advert = os.path.join(launcher.install, "img", "qor_adv.jpg")
        with open(advert, "wb") as f:
            f.write(b"an older picture")
        launcher.start()
        launcher.click(720, 377)  # the Launch / Update caption
        self.assertEqual(launcher.wait_exit(), 0)
        command_line, cwd = launcher.read_record(launcher.stub_record)
        update_folder = windows_path(os.path.join(launcher.cd, "upd"))
        self.assertTrue(command_line.endswith(' /update /update_path "%s"' % update_folder), command_line)
        self.assertIn(windows_path(launcher.product).lower(), command_line.lower())
        self.assertEqual(cwd.rstrip("\\").lower(), windows_path(os.path.join(launcher.install, "bin")).lower())
        with open(advert, "rb") as copied, open(os.path.join(launcher.cd, "img", "cd_2.jpg"), "rb") as source:
            self.assertEqual(copied.read(), source.read())

    def test_update_refused_while_the_product_runs(self):
        launcher = WineLauncher(self, version="5")
        ready = os.path.join(launcher.root, "mutex-held")
        holder = subprocess.Popen([ARGS.wine_run, "--prefix", ARGS.prefix, ARGS.stub, "--hold-mutex", "NOL_RUNNING",
                                   windows_path(ready)], env=launcher.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait, TIMEOUT)
        self.addCleanup(holder.kill)
        wait_for(lambda: os.path.exists(ready) or holder.poll() is not None, "the stub to hold the mutex")
        self.assertIsNone(holder.poll(), "the stub ended")
        launcher.start()
        launcher.click(720, 377)
        # M2: captioned "Information", the fixed text, one button "OK" (read by the
        # stub through the system: X shows no control texts).
        box = launcher.find_window("Information")
        seen = os.path.join(launcher.root, "box")
        wine(ARGS.stub, "--read-box", "Information", windows_path(seen), env=launcher.env)
        with open(seen, encoding="utf-8") as f:
            self.assertEqual(f.read().splitlines(),
                             ["text=Для обновления необходимо закрыть саму программу!", "button=OK"])
        launcher.press("Return", box)
        wait_for(lambda: not launcher.xdotool("search", "--onlyvisible", "--name", "^Information$"),
                 "the box to close")
        self.assertIsNone(launcher.process.poll())
        self.assertFalse(os.path.exists(launcher.stub_record))
        # Still there and still answering: Exit ends it.
        launcher.click(720, 520)
        self.assertEqual(launcher.wait_exit(), 0)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--cd", required=True)
    parser.add_argument("--stub", required=True)
    parser.add_argument("--artifacts", default=os.path.join(tempfile.gettempdir(), "nol-wine-e2e-screenshots"))
    ARGS, rest = parser.parse_known_args()
    for name in ("wine_run", "prefix", "cd", "stub", "artifacts"):
        setattr(ARGS, name, os.path.abspath(getattr(ARGS, name)))
    launcher = os.path.join(ARGS.cd, "bin", "nol_cdrun.exe")
    if pe_bits(launcher) == 32 and subprocess.run([ARGS.wine_run, "--can-run-32"]).returncode != 0:
        print("skipped: this machine cannot execute 32-bit code, so the 32-bit launcher cannot run under Wine")
        sys.exit(SKIP)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

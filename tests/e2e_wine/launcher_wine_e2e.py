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
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from x11_session import (CLIENT, TIMEOUT, X11Program, Xvfb, check_installed_layout,  # noqa: E402
                         check_launch_entry_hidden, check_not_installed_layout_without_background, grab,
                         save_png, wait_for)

ARGS = None
SKIP = 77       # ctest's SKIP_RETURN_CODE

MAIN_CAPTION = "Квиллбокс «ЛОРАНТА». ПО к «Еженедельнику ЛОРАНТА»."
UNINSTALL_K1 = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\VEX7420_2.0_is1"
UNINSTALL_K2 = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\VEX7420\2.0_is1"
USER_K1 = "HKCU" + UNINSTALL_K1[4:]
USER_K2 = "HKCU" + UNINSTALL_K2[4:]
VERSION_KEY = r"HKCU\SOFTWARE\Halvern\Quillbox\2.0"


def windows_path(path):
    """The Wine path of a POSIX path: drive Z: is the root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def pe_bits(path):
    with open(path, "rb") as f:
        head = f.read(4096)
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    return 32 if struct.unpack_from("<H", head, offset + 4)[0] == 0x14C else 64


NO_32_BIT = "skipped: this machine cannot execute 32-bit code, so the 32-bit launcher cannot run under Wine"


def can_run_32(wine_run):
    return subprocess.run([wine_run, "--can-run-32"]).returncode == 0


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


class WineLauncher(X11Program):
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
        self.window = self.named_window(MAIN_CAPTION)
        return self

    def client_offset(self, window):
        """Where the client area lies in the X window: Wine draws the frame itself."""
        geometry = dict(line.split("=") for line in self.xdotool("getwindowgeometry", "--shell", window))
        width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        border = (width - CLIENT[0]) // 2
        return border, height - CLIENT[1] - border

    def grab(self):
        return grab(self.window, self.env, self.client_offset(self.window))

    def screenshot(self, name):
        """Once two grabs in a row agree: the first paint may still be on its way."""
        previous = [None]

        def settled():
            shot = self.grab()
            same = previous[0] is not None and shot.client_bytes() == previous[0].client_bytes()
            previous[0] = shot
            return shot if same else None
        shot = wait_for(settled, "the window's pixels to settle", interval=0.1)
        save_png(self.window, self.env, os.path.join(ARGS.artifacts, name + ".png"))
        return shot

    def click(self, x, y):
        dx, dy = self.client_offset(self.window)
        self.xdotool("mousemove", "--window", self.window, str(x + dx), str(y + dy), "click", "1")

    def press(self, key, window):
        # No window manager: focus is given by hand, then the key goes to it.
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", key)

    def end(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def start_holding_stub(test, launcher, what, env, option, *args):
    """The stub started with OPTION, ARGS and the file it writes once it holds WHAT;
    returns once it holds it."""
    ready = os.path.join(launcher.root, "stub-ready")
    stub = subprocess.Popen([ARGS.wine_run, "--prefix", ARGS.prefix, ARGS.stub, option, *args, windows_path(ready)],
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    test.addCleanup(stub.wait, TIMEOUT)
    test.addCleanup(stub.kill)
    wait_for(lambda: os.path.exists(ready) or stub.poll() is not None, "the stub to hold " + what)
    test.assertIsNone(stub.poll(), "the stub ended")
    return stub


class Order(unittest.TestCase):
    def test_window_while_a_display_less_program_holds_the_desktop(self):
        # A desktop made without a display finds no graphics driver: a program that
        # joined it could make no window, so tools/wine-run starts the launcher only
        # once that desktop has ended (the stub ends it three seconds on).
        launcher = WineLauncher(self)
        stub = start_holding_stub(self, launcher, "the desktop", dict(os.environ, DISPLAY=""), "--desktop", "3000")
        launcher.start()
        self.assertEqual(stub.wait(TIMEOUT), 0)
        launcher.click(720, 520)
        self.assertEqual(launcher.wait_exit(), 0)


class Layout(unittest.TestCase):
    def test_installed_layout_with_background(self):
        launcher = WineLauncher(self).start()
        check_installed_layout(self, launcher.screenshot("wine-installed"))

    def test_not_installed_layout_without_background(self):
        launcher = WineLauncher(self, installed_view=None, background=False).start()
        check_not_installed_layout_without_background(self, launcher.screenshot("wine-not-installed-white"))

    def test_install_location_in_the_64_bit_view_only_is_not_read(self):
        # The launcher reads the 32-bit view of HKEY_LOCAL_MACHINE in either build.
        launcher = WineLauncher(self, installed_view="/reg:64", background=False).start()
        check_launch_entry_hidden(self, launcher.screenshot("wine-64-bit-view"))


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
        start_holding_stub(self, launcher, "the mutex", launcher.env, "--hold-mutex", "NOL_RUNNING")
        launcher.start()
        launcher.click(720, 377)
        # M2: captioned "Information", the fixed text, one button "OK" (read by the
        # stub through the system: X shows no control texts).
        box = launcher.named_window("Information")
        seen = os.path.join(launcher.root, "box")
        wine(ARGS.stub, "--read-box", "Information", windows_path(seen), env=launcher.env)
        with open(seen, encoding="utf-8") as f:
            self.assertEqual(f.read().splitlines(),
                             ["text=Для обновления необходимо закрыть саму программу!", "button=OK"])
        launcher.press("Return", box)
        launcher.wait_window_gone("Information")
        self.assertIsNone(launcher.process.poll())
        self.assertFalse(os.path.exists(launcher.stub_record))
        # Still there and still answering: Exit ends it.
        launcher.click(720, 520)
        self.assertEqual(launcher.wait_exit(), 0)


def add_arguments(parser):
    for name in ("--wine-run", "--prefix", "--cd", "--stub"):
        parser.add_argument(name, required=True)


def use_arguments(args):
    """Takes the arguments of add_arguments as absolute paths; exits with SKIP where
    the CD's launcher is a 32-bit program and this machine runs none."""
    global ARGS
    for name in ("wine_run", "prefix", "cd", "stub"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    ARGS = args
    if pe_bits(os.path.join(args.cd, "bin", "nol_cdrun.exe")) == 32 and not can_run_32(args.wine_run):
        print(NO_32_BIT)
        sys.exit(SKIP)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    add_arguments(parser)
    parser.add_argument("--artifacts", default=os.path.join(tempfile.gettempdir(), "nol-wine-e2e-screenshots"))
    ARGS, rest = parser.parse_known_args()
    ARGS.artifacts = os.path.abspath(ARGS.artifacts)
    use_arguments(ARGS)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""End-to-end tests of the GTK launcher: the real executable on a private Xvfb,
run from the bin/ folder of a temporary copy of the demo CD, with a substitute
registry file (NOL_REGISTRY), a shell-open recorder (NOL_SHELL_OPEN) and the stub
installed program that records how it was started.

    launcher_e2e.py --launcher PATH --hold-mutex PATH --demo DIR [unittest args]

Every wait polls for a condition with a bounded timeout; nothing sleeps blindly.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from x11_session import (CLIENT, TIMEOUT, X11Program, Xvfb, check_installed_layout,
                         check_not_installed_layout_without_background, grab, save_png, stop_process, wait_for)

ARGS = None
UNINSTALL_K1 = r"SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\VEX7420_2.0_is1"
VERSION_KEY = r"SOFTWARE\Halvern\Quillbox\2.0"


class LauncherRun(X11Program):
    """A copy of the demo CD and an install folder, and the launcher running on them."""

    def __init__(self, test, installed=True, version="5", background=True, extra_registry=""):
        self.test = test
        self.root = tempfile.mkdtemp(prefix="nol-e2e-")
        test.addCleanup(shutil.rmtree, self.root, True)
        self.cd = os.path.join(self.root, "cd")
        shutil.copytree(os.path.join(ARGS.demo, "cd"), self.cd)
        self.bin = os.path.join(self.cd, "bin")
        os.makedirs(self.bin, exist_ok=True)
        shutil.copy2(ARGS.launcher, os.path.join(self.bin, "nol_cdrun"))
        if not background:
            os.remove(os.path.join(self.cd, "img", "cd.jpg"))
        self.install = os.path.join(self.root, "install")
        shutil.copytree(os.path.join(ARGS.demo, "install"), self.install)
        self.stub_record = os.path.join(self.root, "stub.log")
        self.shell_record = os.path.join(self.root, "shell-open.log")
        self.first_paint = os.path.join(self.root, "first-paint")
        self.registry = os.path.join(self.root, "registry.reg")
        self.write_registry(installed, version, extra_registry)
        self.write_shell_recorder()

        self.xvfb = Xvfb()
        test.addCleanup(self.xvfb.stop)
        self.env = dict(os.environ, DISPLAY=self.xvfb.display, NO_AT_BRIDGE="1",
                        NOL_REGISTRY=self.registry, NOL_FIRST_PAINT=self.first_paint,
                        NOL_SHELL_OPEN=os.path.join(self.root, "shell-open"),
                        NOL_STUB_RECORD=self.stub_record)
        self.process = None
        self.window = None

    def write_registry(self, installed, version, extra):
        lines = ["Windows Registry Editor Version 5.00", ""]
        if installed:
            lines += ["[HKEY_LOCAL_MACHINE\\" + UNINSTALL_K1 + "]",
                      '"InstallLocation"="%s/"' % self.install, ""]
        if version is not None:
            lines += ["[HKEY_CURRENT_USER\\" + VERSION_KEY + "]", '"VersionFDB"="%s"' % version, ""]
        lines.append(extra)
        with open(self.registry, "w", encoding="utf-8") as f:
            f.write("\r\n".join(lines))

    def write_shell_recorder(self):
        path = os.path.join(self.root, "shell-open")
        with open(path, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" "$2" "$3" "$4" > "%s.tmp" && mv "%s.tmp" "%s"\n'
                    % (self.shell_record, self.shell_record, self.shell_record))
        os.chmod(path, 0o755)

    def start(self):
        self.log = os.path.join(self.root, "launcher.log")
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(["./nol_cdrun"], cwd=self.bin, env=self.env,
                                            stdout=log, stderr=subprocess.STDOUT)
        self.test.addCleanup(self.end)
        wait_for(lambda: os.path.exists(self.first_paint) or self.process.poll() is not None,
                 "the first paint")
        if self.process.poll() is not None:
            raise AssertionError("the launcher ended before painting: %r" % self.output())
        self.window = self.main_window()
        return self

    def output(self):
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return f.read()

    def visible_windows(self):
        return self.xdotool("search", "--onlyvisible", "--pid", str(self.process.pid))

    def main_window(self):
        return wait_for(lambda: (self.visible_windows() or [None])[0], "the main window")

    def screenshot(self, name):
        save_png(self.window, self.env, os.path.join(ARGS.artifacts, "%s.png" % name))
        return grab(self.window, self.env)

    def click(self, x, y, window=None):
        self.xdotool("mousemove", "--window", window or self.window, str(x), str(y), "click", "1")

    def press(self, key, window):
        self.xdotool("windowfocus", "--sync", window)
        self.xdotool("key", "--window", window, key)

    def end(self):
        if self.process:
            stop_process(self.process)


class Layout(unittest.TestCase):
    def test_installed_layout_with_background(self):
        launcher = LauncherRun(self, installed=True).start()
        shot = launcher.screenshot("installed")
        self.assertEqual((shot.width, shot.height), CLIENT)
        check_installed_layout(self, shot)

    def test_not_installed_layout_without_background(self):
        launcher = LauncherRun(self, installed=False, background=False).start()
        shot = launcher.screenshot("not-installed-white")
        check_not_installed_layout_without_background(self, shot)


class Actions(unittest.TestCase):
    def test_exit_ends_with_code_zero(self):
        launcher = LauncherRun(self).start()
        launcher.click(720, 520)  # the Exit caption
        self.assertEqual(launcher.wait_exit(), 0)

    def test_description_opens_the_help_and_stays(self):
        launcher = LauncherRun(self).start()
        launcher.click(640, 240)  # the Description picture
        document, parameters, directory, show = launcher.read_record(launcher.shell_record)
        self.assertTrue(document.replace("\\", "/").endswith("../doc/htmlhelp.chm"), document)
        self.assertEqual((parameters, directory, show), ("", "", "1"))
        self.assertIsNone(launcher.process.poll())
        self.assertTrue(launcher.visible_windows())

    def test_brochure_opens_the_pdf_and_closes(self):
        launcher = LauncherRun(self).start()
        launcher.click(750, 140)  # the brochure picture
        document = launcher.read_record(launcher.shell_record)[0]
        self.assertTrue(document.replace("\\", "/").endswith("../pdf/loranta.pdf"), document)
        self.assertEqual(launcher.wait_exit(), 0)

    def information_box_while_open(self, launcher):
        """The Information box appears over the window, which stays; OK closes the box."""
        box = launcher.named_window("Information")
        launcher.press("Return", box)
        launcher.wait_window_gone("Information")
        self.assertIsNone(launcher.process.poll())
        self.assertFalse(os.path.exists(launcher.stub_record))

    def test_update_refused_while_the_product_runs(self):
        launcher = LauncherRun(self, version="5")
        ready = os.path.join(launcher.root, "mutex-held")
        holder = subprocess.Popen([ARGS.hold_mutex, "NOL_RUNNING", ready], env=launcher.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(holder.wait, TIMEOUT)
        self.addCleanup(holder.terminate)
        wait_for(lambda: os.path.exists(ready) or holder.poll() is not None, "nol_hold_mutex to hold the mutex")
        self.assertIsNone(holder.poll(), "nol_hold_mutex ended")
        launcher.start()
        launcher.click(720, 377)  # the Launch / Update caption
        self.information_box_while_open(launcher)

    def test_update_refused_for_version_3(self):
        launcher = LauncherRun(self, version="3").start()
        launcher.click(640, 390)  # the Launch / Update picture
        self.information_box_while_open(launcher)

    def test_update_starts_the_installed_program_and_closes(self):
        launcher = LauncherRun(self, version="5")
        advert = os.path.join(launcher.install, "img", "qor_adv.jpg")
        with open(advert, "wb") as f:
            f.write(b"an older picture")
        launcher.start()
        launcher.click(720, 377)
        self.assertEqual(launcher.wait_exit(), 0)
        record = launcher.read_record(launcher.stub_record)
        self.assertEqual(record, [
            "cwd=" + os.path.join(launcher.install, "bin"),
            "arg=/update", "arg=/update_path", "arg=" + os.path.join(launcher.cd, "upd")])
        with open(advert, "rb") as copied, open(os.path.join(launcher.cd, "img", "cd_2.jpg"), "rb") as source:
            self.assertEqual(copied.read(), source.read())


OFFLINE_MODE = ("[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\r\n"
                '"GlobalUserOffline"=dword:00000001\r\n')


class StartUp(unittest.TestCase):
    def offline_question_then_main_window(self, answer_key):
        """In offline mode the question comes before the main window; either answer goes on."""
        launcher = LauncherRun(self, extra_registry=OFFLINE_MODE)
        launcher.log = os.path.join(launcher.root, "launcher.log")
        with open(launcher.log, "wb") as log:
            launcher.process = subprocess.Popen(["./nol_cdrun"], cwd=launcher.bin, env=launcher.env,
                                                stdout=log, stderr=subprocess.STDOUT)
        self.addCleanup(launcher.end)
        box = launcher.named_window("Подтверждение")
        self.assertFalse(os.path.exists(launcher.first_paint), "the main window came before the question")
        launcher.press(answer_key, box)
        wait_for(lambda: os.path.exists(launcher.first_paint) or launcher.process.poll() is not None,
                 "the main window after the answer")
        self.assertIsNone(launcher.process.poll(), launcher.output())
        launcher.window = launcher.main_window()
        launcher.click(720, 520)  # Exit
        self.assertEqual(launcher.wait_exit(), 0)

    def test_offline_question_answered_yes(self):
        self.offline_question_then_main_window("Return")

    def test_offline_question_answered_no(self):
        self.offline_question_then_main_window("Escape")

    def test_malformed_registry_file_ends_before_any_window(self):
        launcher = LauncherRun(self, extra_registry="[HKEY_CURRENT_USER\\Software\\Broken]\r\n\"NoEquals\"\r\n")
        result = subprocess.run(["./nol_cdrun"], cwd=launcher.bin, env=launcher.env, capture_output=True,
                                text=True, timeout=TIMEOUT)
        self.assertEqual(result.returncode, 1)
        self.assertRegex(result.stderr, re.escape(launcher.registry) + r":\d+: ")
        self.assertFalse(os.path.exists(launcher.first_paint))


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--hold-mutex", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--artifacts", default=os.path.join(tempfile.gettempdir(), "nol-e2e-screenshots"))
    ARGS, rest = parser.parse_known_args()
    ARGS.launcher = os.path.abspath(ARGS.launcher)
    ARGS.hold_mutex = os.path.abspath(ARGS.hold_mutex)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

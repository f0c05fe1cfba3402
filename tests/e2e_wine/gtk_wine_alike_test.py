#!/usr/bin/env python3
"""The Windows launcher under Wine and the GTK launcher, on the same CD and the same
registry contents, must paint the same window: pixel for pixel outside the captions,
where the two systems' fonts render text differently. A small tolerance is left for
the JPEG decoders' inverse transforms.

    gtk_wine_alike_test.py --gtk-launcher PATH --demo DIR --wine-run PATH --prefix DIR
                           --cd DIR --stub EXE [unittest args]

Needs the native build's launcher; skipped with the reason where it is not built.
"""
import argparse
import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
import launcher_e2e as gtk  # noqa: E402
import launcher_wine_e2e as wine  # noqa: E402
from x11_session import CLIENT, caption_rects  # noqa: E402

DECODER_TOLERANCE = 2  # per channel


def outside_captions(x, y):
    return not any(left <= x < left + width and top <= y < top + height
                   for left, top, width, height in caption_rects())


class SameWindow(unittest.TestCase):
    def assert_alike(self, gtk_shot, wine_shot):
        over, worst, first = 0, 0, None
        for y in range(CLIENT[1]):
            a, b = gtk_shot.client_row(y), wine_shot.client_row(y)
            if a == b:
                continue
            for x in range(CLIENT[0]):
                d = max(abs(a[3 * x + c] - b[3 * x + c]) for c in range(3))
                if d > DECODER_TOLERANCE and outside_captions(x, y):
                    over += 1
                    worst = max(worst, d)
                    first = first or (x, y)
        self.assertEqual(over, 0, "%d pixels outside the captions differ by up to %d, the first at %s"
                         % (over, worst, first))

    def compare(self, name, installed, background):
        gtk_run = gtk.LauncherRun(self, installed=installed, version="5", background=background).start()
        gtk_shot = gtk_run.screenshot("gtk-" + name)
        gtk_run.end()
        wine_run = wine.WineLauncher(self, installed_view="/reg:32" if installed else None, version="5",
                                     background=background).start()
        self.assert_alike(gtk_shot, wine_run.screenshot("wine-" + name))

    def test_installed_layout_with_background(self):
        self.compare("installed", installed=True, background=True)

    def test_not_installed_layout_without_background(self):
        self.compare("not-installed-white", installed=False, background=False)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--gtk-launcher", required=True)
    parser.add_argument("--demo", required=True)
    wine.add_arguments(parser)
    parser.add_argument("--artifacts", default=os.path.join(tempfile.gettempdir(), "nol-alike-screenshots"))
    args, rest = parser.parse_known_args()
    if not os.path.exists(args.gtk_launcher):
        print("skipped: the native launcher %s is not built (build the default preset first)" % args.gtk_launcher)
        sys.exit(wine.SKIP)
    args.artifacts = os.path.abspath(args.artifacts)
    wine.use_arguments(args)
    gtk.ARGS = argparse.Namespace(launcher=os.path.abspath(args.gtk_launcher), demo=os.path.abspath(args.demo),
                                  artifacts=args.artifacts)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

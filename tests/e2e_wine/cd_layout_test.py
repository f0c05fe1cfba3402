#!/usr/bin/env python3
"""The laid-out CD and its image: autorun.inf at the root opening the launcher in
bin\\ with the CD's icon, the build's own launcher executable, the demo CD's
documents and its empty update folder, SHA256SUMS over the rest; the ISO image
holds the same files under their Joliet names.

    cd_layout_test.py --tree DIR --launcher EXE --demo DIR [--image ISO]
"""
import argparse
import filecmp
import os
import struct
import subprocess
import sys
import unittest

ARGS = None
SECTOR = 2048


def demo_files():
    files = set()
    root = os.path.join(ARGS.demo, "cd")
    for folder, _, names in os.walk(root):
        for name in names:
            if name != ".gitkeep":
                files.add(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return files


def pe_sections(path):
    """The machine and the raw bytes of each section of a PE file, by name."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine, count = struct.unpack_from("<HH", data, pe + 4)
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    result = {"machine": machine}
    strings = pe_string_table(data, pe)
    for i in range(count):
        header = data[table + 40 * i:table + 40 * (i + 1)]
        name = header[:8].rstrip(b"\0").decode("ascii", "replace")
        if name.startswith("/") and strings is not None:  # a long name, kept in the string table
            start = strings + int(name[1:])
            name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
        virtual_size, _, raw_size, raw = struct.unpack_from("<IIII", header, 8)
        result[name] = data[raw:raw + min(raw_size, virtual_size or raw_size)]
    return result


def pe_string_table(data, pe):
    symbols, count = struct.unpack_from("<II", data, pe + 12)
    return symbols + 18 * count if symbols else None


def joliet_files(path):
    """Every file of the image's Joliet tree, as 'folder/name' with the names as written."""
    with open(path, "rb") as f:
        image = f.read()
    joliet_root = None
    for sector in range(16, 64):
        vd = image[sector * SECTOR:(sector + 1) * SECTOR]
        if vd[1:6] != b"CD001" or vd[0] == 255:
            break
        if vd[0] == 2 and vd[88:91] in (b"%/@", b"%/C", b"%/E"):
            joliet_root = vd[156:156 + 34]
    if joliet_root is None:
        return None

    def records(extent, size):
        data, pos = image[extent * SECTOR:extent * SECTOR + size], 0
        while pos < len(data):
            length = data[pos]
            if length == 0:  # records do not cross sectors: skip to the next one
                pos = (pos // SECTOR + 1) * SECTOR
                continue
            yield data[pos:pos + length]
            pos += length

    found = set()

    def walk(record, prefix):
        extent, size = struct.unpack_from("<I", record, 2)[0], struct.unpack_from("<I", record, 10)[0]
        for r in records(extent, size):
            name_length = r[32]
            raw = r[33:33 + name_length]
            if raw in (b"\0", b"\1"):
                continue
            name = raw.decode("utf-16-be").split(";")[0]
            if r[25] & 2:
                walk(r, prefix + name + "/")
            else:
                found.add(prefix + name)

    walk(joliet_root, "")
    return found


class CdTree(unittest.TestCase):
    def test_autorun_opens_the_launcher_with_the_cd_icon(self):
        with open(os.path.join(ARGS.tree, "autorun.inf"), "rb") as f:
            data = f.read()
        # A Unicode INI file of Windows: UTF-16LE after its byte-order mark, CR LF.
        self.assertEqual(data[:2], b"\xff\xfe")
        lines = data[2:].decode("utf-16-le").split("\r\n")
        self.assertEqual(lines[0], "[autorun]")
        self.assertIn("open=bin\\nol_cdrun.exe", lines)
        # AutoPlay offers the launcher by a text in the captions' language.
        self.assertIn("action=Запустить Квиллбокс «ЛОРАНТА»", lines)
        icon = [line.split("=", 1)[1] for line in lines if line.startswith("icon=")]
        self.assertEqual(len(icon), 1)
        self.assertTrue(os.path.isfile(os.path.join(ARGS.tree, icon[0].replace("\\", "/"))), icon)

    def test_launcher_and_documents(self):
        # The build's launcher, stripped: same machine and resources, no debugging data.
        shipped = pe_sections(os.path.join(ARGS.tree, "bin", "nol_cdrun.exe"))
        built = pe_sections(ARGS.launcher)
        self.assertEqual(shipped["machine"], built["machine"])
        self.assertEqual(shipped[".rsrc"], built[".rsrc"])
        self.assertEqual(shipped[".text"], built[".text"])
        self.assertFalse([name for name in shipped if name.startswith(".debug")])
        for name in demo_files():
            self.assertTrue(filecmp.cmp(os.path.join(ARGS.tree, name), os.path.join(ARGS.demo, "cd", name),
                                        shallow=False), name)
        self.assertEqual(os.listdir(os.path.join(ARGS.tree, "upd")), [])
        self.assertEqual(sorted(os.listdir(os.path.join(ARGS.tree, "bin"))), ["nol_cdrun.exe"])

    def test_image_holds_the_tree_under_joliet_names(self):
        if not ARGS.image:
            self.skipTest("no xorriso here: no image is written")
        files = joliet_files(ARGS.image)
        self.assertIsNotNone(files, "the image has no Joliet tree")
        expected = demo_files() | {"autorun.inf", "nol_cdrun.ico", "bin/nol_cdrun.exe", "SHA256SUMS"}
        self.assertEqual(files, expected)

    def test_checksums_cover_every_other_file(self):
        with open(os.path.join(ARGS.tree, "SHA256SUMS"), "rb") as f:
            names = [line.split(b"  ", 1)[1].decode() for line in f.read().splitlines()]
        self.assertEqual(names, sorted(demo_files() | {"autorun.inf", "nol_cdrun.ico", "bin/nol_cdrun.exe"}))
        p = subprocess.run(["sha256sum", "--strict", "-c", "SHA256SUMS"], cwd=ARGS.tree, capture_output=True)
        self.assertEqual(p.returncode, 0, p.stdout + p.stderr)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--tree", required=True)
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--image")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""The CD's launcher signed the way the build signs it (cd_sign.cmake, osslsigncode)
with a throwaway self-signed certificate made by openssl: `osslsigncode verify`
accepts the signature and refuses it once a byte changes, and the signed launcher
runs under Wine to its first paint.

    signed_launcher_test.py --wine-run PATH --prefix DIR --cd DIR --stub EXE
                            --cmake CMAKE --sign-script PATH --source DIR [unittest args]
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

import launcher_wine_e2e as e2e

ARGS = None
SECURITY_DIRECTORY = 4  # the certificate table among the PE data directories


def certificate_table(path):
    """Offset and size of the PE file's certificate table; (0, 0) when unsigned."""
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    return struct.unpack_from("<II", data, directories + 8 * SECURITY_DIRECTORY)


def run(*args, cwd=None):
    return subprocess.run(args, cwd=cwd, capture_output=True, timeout=120)


class Signed(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="nol-signed-")
        self.addCleanup(shutil.rmtree, self.root, True)

    def make_certificate(self):
        """A PKCS#12 file and its password file, as the build is given them."""
        with open(os.path.join(self.root, "password"), "w") as f:
            f.write("throwaway password\n")
        p = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                "/CN=Quillbox throwaway test signer", "-addext", "extendedKeyUsage=codeSigning",
                "-addext", "keyUsage=digitalSignature", "-keyout", "key.pem", "-out", "cert.pem", cwd=self.root)
        self.assertEqual(p.returncode, 0, p.stderr)
        p = run("openssl", "pkcs12", "-export", "-inkey", "key.pem", "-in", "cert.pem", "-out", "cert.p12",
                "-passout", "file:password", cwd=self.root)
        self.assertEqual(p.returncode, 0, p.stderr)

    def verify(self, exe):
        return run("osslsigncode", "verify", "-in", exe, "-CAfile", os.path.join(self.root, "cert.pem"))

    def test_signature_verifies_and_the_launcher_paints(self):
        self.make_certificate()
        cd = os.path.join(self.root, "cd")
        shutil.copytree(ARGS.cd, cd)
        exe = os.path.join(cd, "bin", "nol_cdrun.exe")
        if certificate_table(exe) != (0, 0):  # a build given a certificate of its own
            p = run("osslsigncode", "remove-signature", "-in", exe, "-out", exe + ".unsigned")
            self.assertEqual(p.returncode, 0, p.stdout + p.stderr)
            os.replace(exe + ".unsigned", exe)
        with open(exe, "rb") as f:
            unsigned = f.read()
        p = run(ARGS.cmake, "-DOSSLSIGNCODE=osslsigncode", "-DEXE=" + exe,
                "-DPKCS12=" + os.path.join(self.root, "cert.p12"),
                "-DPASSWORD_FILE=" + os.path.join(self.root, "password"), "-DSOURCE_DIR=" + ARGS.source,
                "-P", ARGS.sign_script)
        self.assertEqual(p.returncode, 0, p.stdout + p.stderr)
        offset, size = certificate_table(exe)
        with open(exe, "rb") as f:
            signed = f.read()
        self.assertGreater(size, 0, "no certificate table")
        self.assertEqual(offset + size, len(signed), "the signature ends the file")

        p = self.verify(exe)
        self.assertEqual(p.returncode, 0, p.stdout + p.stderr)
        self.assertIn(b"Signature verification: ok", p.stdout)
        self.assertIn(b"Quillbox throwaway test signer", p.stdout)
        # The signature covers the code: one changed byte of it fails the check.
        tampered = os.path.join(self.root, "tampered.exe")
        with open(tampered, "wb") as f:
            f.write(signed[:4096] + bytes([signed[4096] ^ 1]) + signed[4097:])
        self.assertNotEqual(self.verify(tampered).returncode, 0)
        self.assertNotEqual(signed, unsigned)

        e2e.ARGS.cd = cd
        launcher = e2e.WineLauncher(self).start()  # waits for the first paint
        launcher.click(720, 520)  # Exit
        self.assertEqual(launcher.wait_exit(), 0)


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    e2e.add_arguments(parser)
    for name in ("--cmake", "--sign-script", "--source"):
        parser.add_argument(name, required=True)
    ARGS, rest = parser.parse_known_args()
    ARGS.cd = os.path.abspath(ARGS.cd)
    e2e.use_arguments(ARGS)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()

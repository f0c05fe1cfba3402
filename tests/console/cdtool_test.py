#!/usr/bin/env python3
"""Process-level tests of nol_cdtool: the real executable, natively or under Wine.

usage: cdtool_test.py --tool EXE --work DIR --cd DEMO_CD [--wine-run SCRIPT --prefix DIR]
                      [--decodes-pictures] [--cmake CMAKE --checksums-script SCRIPT] CASE
Each CASE runs in a fresh DIR; exit 0 passes, 125 skips (a 32-bit program where
this machine cannot run one), anything else fails.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import threading
import time

SKIP = 125
TIME = rb"\d\d:\d\d:\d\d : "
DONE = rb"Action %s done in \d+,\d\d min\r\n"
TIMEOUT = 60


class Failure(Exception):
    pass


def check(condition, message, *details):
    if not condition:
        raise Failure(message + "".join("\n  " + repr(d) for d in details))


class Tool:
    def __init__(self, opts):
        self.exe = os.path.abspath(opts.tool)
        self.wine = opts.wine_run
        self.prefix = opts.prefix
        self.work = opts.work
        self.cd = opts.cd
        self.env = dict(os.environ)
        # Natively: no registry files of the user's own.
        self.env["XDG_CONFIG_HOME"] = os.path.join(self.work, "config")
        self.env.pop("NOL_REGISTRY", None)

    def command(self, args):
        if self.wine:
            return [self.wine, "--prefix", self.prefix, self.exe] + list(args)
        return [self.exe] + list(args)

    def run(self, *args, env=None):
        """Runs the tool to its end: (exit code, console output with '\\n' line ends, stderr)."""
        p = subprocess.run(self.command(args), cwd=self.work, env=env or self.env,
                           stdin=subprocess.DEVNULL, capture_output=True, timeout=TIMEOUT)
        return p.returncode, p.stdout.replace(b"\r\n", b"\n"), p.stderr

    def path(self, name):
        return os.path.join(self.work, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def config(self, log="tool.log", pid=None):
        lines = ["[Main]"]
        if log is not None:
            lines.append("LogFile=" + log)
        if pid is not None:
            lines.append("PidFile=" + pid)
        self.write("tool.ini", ("\r\n".join(lines) + "\r\n").encode("ascii"))


def pe_bits(path):
    with open(path, "rb") as f:
        head = f.read(4096)
    if head[:2] != b"MZ":
        return 0
    off = struct.unpack_from("<I", head, 0x3C)[0]
    return 32 if struct.unpack_from("<H", head, off + 4)[0] == 0x14C else 64


def random_bytes(n, seed):
    # Deterministic, so a failure can be reproduced.
    out = bytearray()
    x = seed
    while len(out) < n:
        x = (x * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        out += x.to_bytes(8, "little")
    return bytes(out[:n])


# ---- cases ----

def case_letter_case(t):
    t.config()
    t.write("a.bin", random_bytes(1000, 1))
    rc, out, _ = t.run("-EnCrYpT", "a.bin", "a.enc", "-key", "secret", "-config", "tool.ini")
    check(rc == 0, "exit code", rc, out)
    log = t.read("tool.log")
    check(re.search(b"^" + TIME + DONE % b"-ENCRYPT" + b"$", log, re.M), "completion entry", log)
    check(os.path.exists(t.path("a.enc")), "the action did not run")


def case_help_no_parameter(t):
    rc, out, err = t.run()
    check(rc == 0, "exit code", rc, out, err)
    check(out.startswith(b"nol_cdtool: "), "help text without a time stamp", out)
    for word in (b"-verify CDDIR", b"-encrypt SOURCE [DEST]", b"-decrypt SOURCE [DEST]", b"-key TEXT",
                 b"-keyhex HEX", b"-config FILE"):
        check(word in out, "help lists " + word.decode(), out)


def case_help_unknown_action(t):
    t.config()
    t.write("tool.log", b"")
    rc, out, _ = t.run("-export", "-config", "tool.ini")
    check(rc == 0, "exit code", rc, out)
    log = t.read("tool.log")
    check(log.startswith(b"nol_cdtool: ") and log.endswith(b"when it fails.\r\n"), "help in the log", log)
    check(not re.search(TIME, log), "no time stamp", log)
    check(out.replace(b"\n", b"\r\n") == log, "console and log agree", out, log)


def case_failing_action(t):
    t.config()
    rc, out, _ = t.run("-decrypt", "missing.bin", "-key", "k", "-config", "tool.ini")
    check(rc == 1, "exit code", rc, out)
    log = t.read("tool.log")
    check(re.fullmatch(TIME + rb"ECdToolError: \r\nFile not found: missing.bin\r\n", log), "two-line entry", log)
    check(re.fullmatch(TIME + rb"ECdToolError: \nFile not found: missing.bin\n", out), "console entry", out)


def case_bad_arguments(t):
    t.config()
    t.write("a.bin", b"12345678")
    cases = [
        (["-encrypt", "a.bin"], b"No key"),
        (["-encrypt", "a.bin", "-key"], b"Option -key needs a value"),  # "-config" is no key
        (["-encrypt", "a.bin", "-key", "k", "-bogus"], b"Unknown option -bogus"),
        (["-encrypt", "a.bin", "-keyhex", "12z4"], b"Not a hexadecimal key"),
        (["-encrypt", "a.bin", "-keyhex", "123"], b"even number"),
        (["-encrypt", "a.bin", "-key", "k" * 57], b""),  # too long for Blowfish
        (["-encrypt", "-key", "k"], b"Usage: -encrypt"),
        (["-encrypt", "a.bin", "b.bin", "c.bin", "-key", "k"], b"Usage: -encrypt"),
        (["-verify"], b"Usage: -verify"),
        (["-verify", "no-such-cd"], b"No such folder"),
    ]
    for args, text in cases:
        os.remove(t.path("tool.log")) if os.path.exists(t.path("tool.log")) else None
        rc, out, err = t.run(*args, "-config", "tool.ini")
        check(rc == 1, "exit code for %r" % args, rc, out, err)
        log = t.read("tool.log")
        check(re.fullmatch(TIME + rb"E\w+: \r\n[^\r\n]*" + re.escape(text) + rb"[^\r\n]*\r\n", log),
              "error entry for %r" % args, log)
    check(t.read("a.bin") == b"12345678", "a failed action changed its source")
    # A -config without its file name fails before any action runs.
    for tail in (["-config"], ["-config", "-key", "k"]):
        rc, out, _ = t.run("-encrypt", "a.bin", "-key", "k", *tail)
        check(rc == 1 and b"Option -config needs a value" in out, "-config without a value", tail, rc, out)
    check(t.read("a.bin") == b"12345678" and t.read("tool.ini").startswith(b"[Main]"), "files kept")


def case_appends(t):
    t.config()
    t.write("tool.log", b"earlier line\r\n")
    t.write("a.bin", b"abc")
    for _ in range(2):
        rc, out, _ = t.run("-encrypt", "a.bin", "-key", "k", "-config", "tool.ini")
        check(rc == 0, "exit code", rc, out)
    log = t.read("tool.log")
    entry = TIME + rb"Encrypted a.bin in place\r\n" + TIME + DONE % b"-ENCRYPT"
    check(re.fullmatch(rb"earlier line\r\n" + entry + entry, log), "appended entries", log)


def case_default_character(t):
    t.config()
    name = "\u4e2d\u6587.bin"  # in no ANSI code page
    rc, out, _ = t.run("-decrypt", name, "-key", "k", "-config", "tool.ini")
    check(rc == 1, "exit code", rc, out)
    log = t.read("tool.log")
    check(log.endswith(b"File not found: ??.bin\r\n"), "default character in the log", log)
    check(out.endswith(b"File not found: ??.bin\n"), "default character on the console", out)


def case_pid_file(t):
    t.config(pid="tool.pid")
    t.write("a.bin", b"abcdefgh")
    # The tool's console is a pipe that is already full: its first line blocks it,
    # after it has written its pid file and before it can end.
    r, w, filler = full_pipe()
    proc = subprocess.Popen(t.command(["-encrypt", "a.bin", "-key", "k", "-config", "tool.ini"]),
                            cwd=t.work, env=t.env, stdin=subprocess.DEVNULL, stdout=w,
                            stderr=subprocess.DEVNULL)
    os.close(w)
    chunks = []
    try:
        deadline = time.monotonic() + TIMEOUT
        pid = b""
        while not pid and time.monotonic() < deadline and proc.poll() is None:
            if os.path.exists(t.path("tool.pid")):
                pid = t.read("tool.pid")
            time.sleep(0.01)
        check(proc.poll() is None, "the tool ended with its console blocked", proc.returncode)
        check(re.fullmatch(rb"\d+", pid), "pid file holds only digits", pid)
        if not t.wine:
            check(int(pid) == proc.pid, "pid file names the process", pid, proc.pid)
    finally:
        reader = threading.Thread(target=lambda: chunks.extend(iter(lambda: os.read(r, 65536), b"")))
        reader.start()
        rc = proc.wait(timeout=TIMEOUT)
        reader.join(TIMEOUT)
        os.close(r)
    out = b"".join(chunks)[filler:].replace(b"\r\n", b"\n")
    check(rc == 0, "exit code", rc, out)
    check(not os.path.exists(t.path("tool.pid")), "pid file is gone after the end")
    check(b"Action -ENCRYPT done in" in out, "console output", out)


def case_roundtrip(t):
    plain = random_bytes(100003, 7)  # not a whole number of blocks
    t.write("a.bin", plain)
    for args in (["-encrypt", "a.bin", "a.enc", "-key", "secret"],
                 ["-decrypt", "a.enc", "a.back", "-key", "secret"]):
        rc, out, _ = t.run(*args)
        check(rc == 0, "exit code of %r" % args, rc, out)
    enc = t.read("a.enc")
    check(len(enc) == len(plain) and enc != plain, "encrypted: same length, other bytes")
    check(t.read("a.back") == plain, "decrypted file differs from the original")
    # In place, with the same key in hexadecimal.
    shutil.copy(t.path("a.bin"), t.path("c.bin"))
    rc, out, _ = t.run("-encrypt", "c.bin", "-keyhex", "736563726574")
    check(rc == 0 and t.read("c.bin") == enc, "in-place encryption with -keyhex", rc, out)
    rc, out, _ = t.run("-decrypt", "c.bin", "-key", "secret")
    check(rc == 0 and t.read("c.bin") == plain, "in-place decryption", rc, out)
    # An empty file stays empty.
    t.write("empty.bin", b"")
    rc, out, _ = t.run("-encrypt", "empty.bin", "empty.enc", "-key", "secret")
    check(rc == 0 and t.read("empty.enc") == b"", "empty file", rc, out)


def case_done_when(t):
    t.write("tool.ini", b"[Main]\r\nLogFile=log_@@param@.txt\r\n")
    plain = random_bytes(5000, 3)
    t.write("a.bin", plain)
    rc, out, _ = t.run("-encrypt", "a.bin", "a.enc", "-key", "secret", "-config", "tool.ini")
    check(rc == 0, "exit code", rc, out)
    check(len(t.read("a.enc")) == len(plain), "a.enc has the plain file's length")
    log = t.read("log_encrypt.a.bin.txt")
    check(re.search(b"^" + TIME + DONE % b"-ENCRYPT", log, re.M), "completion entry", log)
    rc, out, _ = t.run("-decrypt", "a.enc", "a.back", "-key", "secret")
    check(rc == 0 and t.read("a.back") == plain, "restored exactly", rc, out)


def case_verify(t, cd_source, decodes):
    t.config()
    shutil.copytree(cd_source, t.path("cd"))
    os.makedirs(t.path(os.path.join("cd", "upd")), exist_ok=True)
    rc, out, _ = t.run("-verify", "cd", "-config", "tool.ini")
    check(rc == 0, "the sample CD is complete", rc, out)
    check(b"The CD tree cd is complete" in t.read("tool.log"), "log", t.read("tool.log"))
    os.remove(t.path(os.path.join("cd", "pdf", "loranta.pdf")))
    t.write(os.path.join("cd", "img", "cd_2.jpg"), b"not a picture")
    if decodes:
        jpeg = t.read(os.path.join("cd", "img", "cd.jpg"))
        t.write(os.path.join("cd", "img", "cd.jpg"), jpeg[:200])  # the signature alone
    os.remove(t.path("tool.log"))
    rc, out, _ = t.run("-verify", "cd", "-config", "tool.ini")
    check(rc == 1, "exit code", rc, out)
    log = t.read("tool.log")
    problems = [b"Missing file: cd\\pdf\\loranta.pdf", b"Picture does not decode: cd\\img\\cd_2.jpg"]
    if decodes:
        problems.insert(0, b"Picture does not decode: cd\\img\\cd.jpg")
    expected = b"".join(TIME + re.escape(p) + rb"\r\n" for p in problems)
    expected += TIME + rb"ECdToolError: \r\n%d problem\(s\) in the CD tree cd\r\n" % len(problems)
    check(re.fullmatch(expected, log), "one line per problem", log)


def cd_with_checksums(t, opts, name="cd"):
    """A copy of the demo CD with two files the launcher does not use, and the
    SHA256SUMS the build writes."""
    shutil.rmtree(t.path(name), ignore_errors=True)
    shutil.copytree(opts.cd, t.path(name), ignore=shutil.ignore_patterns(".gitkeep"))
    os.makedirs(t.path(os.path.join(name, "upd")), exist_ok=True)
    t.write(os.path.join(name, "readme.txt"), b"read me\r\n")
    t.write(os.path.join(name, "upd", "patch.bin"), random_bytes(70000, 5))  # more than one read
    subprocess.run([opts.cmake, "-DTREE=" + t.path(name), "-P", opts.checksums_script], check=True)
    return name


def verify_lines(t, cd):
    """Exit code and the problem lines of -verify, without their time stamps."""
    if os.path.exists(t.path("tool.log")):
        os.remove(t.path("tool.log"))
    rc, out, _ = t.run("-verify", cd, "-config", "tool.ini")
    lines = [re.sub(b"^" + TIME, b"", line) for line in t.read("tool.log").split(b"\r\n") if line]
    return rc, [line for line in lines if not line.startswith(b"Action -VERIFY done")]


def case_checksums(t, opts):
    t.config()
    cd = cd_with_checksums(t, opts)
    sums = t.read(os.path.join(cd, "SHA256SUMS"))
    check(b"  readme.txt\n" in sums and b"  upd/patch.bin\n" in sums and b"SHA256SUMS" not in sums,
          "every other file, '/' between folders", sums)
    p = subprocess.run(["sha256sum", "--strict", "-c", "SHA256SUMS"], cwd=t.path(cd), capture_output=True)
    check(p.returncode == 0, "sha256sum -c accepts the list", p.stdout, p.stderr)
    rc, lines = verify_lines(t, cd)
    check(rc == 0 and lines == [b"The CD tree cd is complete"], "an untouched tree passes", rc, lines)

    def flip(path):
        data = bytearray(t.read(path))
        data[len(data) // 2] ^= 0x01
        t.write(path, bytes(data))

    cases = [
        ("a flipped byte", lambda: flip("cd/upd/patch.bin"), [b"Changed file: cd\\upd\\patch.bin"]),
        ("a removed file", lambda: os.remove(t.path("cd/readme.txt")), [b"Missing file: cd\\readme.txt"]),
        ("an added file", lambda: t.write("cd/etc/new.txt", b"new"), [b"Extra file: cd\\etc\\new.txt"]),
        # The launcher's own check names it too: once is enough.
        ("a removed document", lambda: os.remove(t.path("cd/pdf/loranta.pdf")),
         [b"Missing file: cd\\pdf\\loranta.pdf"]),
        ("a line that is no entry, and one that leaves the CD",
         lambda: t.write("cd/SHA256SUMS", sums + b"not a checksum line\n" + b"0" * 64 + b"  ../tool.ini\n"),
         [b"Malformed line 10 in cd\\SHA256SUMS", b"Malformed line 11 in cd\\SHA256SUMS"]),
    ]
    for what, change, expected in cases:
        cd_with_checksums(t, opts)
        change()
        rc, lines = verify_lines(t, cd)
        summary = b"ECdToolError: "
        check(rc == 1, "exit code after " + what, rc, lines)
        check(lines[:-2] == expected and lines[-2] == summary and
              lines[-1] == b"%d problem(s) in the CD tree cd" % len(expected),
              "one line for " + what, lines)
    # All at once: the list's order, then the extra files.
    cd_with_checksums(t, opts)
    for _, change, _ in cases[:4]:
        change()
    rc, lines = verify_lines(t, cd)
    check(rc == 1 and lines[:-2] == [b"Missing file: cd\\pdf\\loranta.pdf", b"Missing file: cd\\readme.txt",
                                     b"Changed file: cd\\upd\\patch.bin", b"Extra file: cd\\etc\\new.txt"],
          "every difference, each once", rc, lines)


def read_all(fd, chunks):
    while True:
        try:
            data = os.read(fd, 65536)
        except OSError:  # EIO: the terminal's last writer has gone
            return
        if not data:
            return
        chunks.append(data)


def case_progress(t):
    t.config()
    size = 24 * 1024 * 1024
    t.write("big.bin", random_bytes(1 << 16, 11) * (size >> 16))
    # Standard error on a terminal: the line is drawn there, and only there.
    master, slave = os.openpty()
    chunks = []
    reader = threading.Thread(target=read_all, args=(master, chunks))
    reader.start()
    start = time.monotonic()
    p = subprocess.Popen(t.command(["-encrypt", "big.bin", "big.enc", "-key", "k", "-config", "tool.ini"]),
                         cwd=t.work, env=t.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=slave)
    os.close(slave)
    out, _ = p.communicate(timeout=TIMEOUT)
    elapsed = time.monotonic() - start
    reader.join(TIMEOUT)
    os.close(master)
    # Wine's console on a terminal adds its own cursor controls.
    terminal = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", b"".join(chunks))
    check(p.returncode == 0, "exit code", p.returncode, out)
    lines = re.findall(rb"Encrypting: +(\d+)% \((\d+) of (\d+) bytes\)", terminal)
    check(lines, "a progress line on the terminal", terminal[-400:])
    done = [int(d) for _, d, _ in lines]
    check(all(int(total) == size for _, _, total in lines) and done == sorted(done) and done[-1] == size
          and lines[-1][0] == b"100", "percentages and bytes count up to the whole file", lines)
    # At most four redraws a second, besides the first and the last.
    check(len(lines) <= 2 + 4 * elapsed + 1, "redrawn at most a few times a second", len(lines), elapsed)
    check(terminal.rstrip(b"\r\n").endswith(b"bytes)"), "the line is ended", terminal[-100:])
    for name, text in (("standard output", out), ("the log", t.read("tool.log"))):
        check(b"Encrypting" not in text and b"%" not in text, "no progress in " + name, text)
    # Redirected: nothing.
    rc, out, err = t.run("-decrypt", "big.enc", "big.back", "-key", "k")
    check(rc == 0 and t.read("big.back") == t.read("big.bin"), "decrypted", rc, out, err)
    check(b"Decrypting" not in err + out, "no progress when standard error is redirected", err, out)


def case_startup_failure(t):
    t.write("bad.reg", b"this is no registry file\n")
    env = dict(t.env)
    env["NOL_REGISTRY"] = t.path("bad.reg")
    rc, out, err = t.run("-encrypt", "a.bin", "-key", "k", env=env)
    check(rc == 1, "exit code", rc, out, err)
    check(b"bad.reg" in err, "the failure is on standard error", err)
    check(out == b"", "nothing on standard output", out)


# ---- outside conditions: the console, the log file ----

def lock_down(path):
    """Makes a file or folder unwritable, also for root (immutable); undone by release()."""
    os.chmod(path, 0o555 if os.path.isdir(path) else 0o444)
    if os.geteuid() == 0:
        subprocess.run(["chattr", "+i", path], check=True)


def release(path):
    if os.geteuid() == 0:
        subprocess.run(["chattr", "-i", path], check=False, stderr=subprocess.DEVNULL)
    os.chmod(path, 0o755 if os.path.isdir(path) else 0o644)


def verify_tree(t):
    shutil.copytree(t.cd, t.path("cd"))
    os.makedirs(t.path(os.path.join("cd", "upd")), exist_ok=True)


def case_closed_output(t):
    # The reader of the tool's console has gone before the first line: the lines are
    # lost, the action and the shut-down are not.
    t.config(pid="tool.pid")
    verify_tree(t)
    r, w = os.pipe()
    os.close(r)
    try:
        p = subprocess.run(t.command(["-verify", "cd", "-config", "tool.ini"]), cwd=t.work, env=t.env,
                           stdin=subprocess.DEVNULL, stdout=w, stderr=subprocess.PIPE, timeout=TIMEOUT)
    finally:
        os.close(w)
    check(p.returncode == 0, "exit code", p.returncode, p.stderr)
    check(not os.path.exists(t.path("tool.pid")), "pid file is gone after the end")
    log = t.read("tool.log")
    check(re.fullmatch(TIME + rb"The CD tree cd is complete\r\n" + TIME + DONE % b"-VERIFY", log),
          "every entry in the log", log)


def expect_log_refused(t, rc, out, message):
    check(rc == 1, "exit code", rc, out)
    check(re.search(TIME + rb"EF\w+Error: \n" + re.escape(message) + rb"[^\n]+\n$", out), "error entry", out)
    check(t.read("a.bin") == b"abcdefgh", "the action ran")
    check(not os.path.exists(t.path("tool.pid")), "a pid file was left")


def case_log_folder_unwritable(t):
    t.write("tool.ini", b"[Main]\r\nLogFile=logs/tool.log\r\nPidFile=tool.pid\r\n")
    t.write("a.bin", b"abcdefgh")
    os.mkdir(t.path("logs"))
    lock_down(t.path("logs"))
    try:
        rc, out, _ = t.run("-encrypt", "a.bin", "-key", "k", "-config", "tool.ini")
    finally:
        release(t.path("logs"))
    expect_log_refused(t, rc, out, b'Cannot create file "logs/tool.log". ')
    check(os.listdir(t.path("logs")) == [], "the folder stays empty", os.listdir(t.path("logs")))


def case_log_read_only(t):
    t.config(pid="tool.pid")
    t.write("a.bin", b"abcdefgh")
    t.write("tool.log", b"earlier line\r\n")
    lock_down(t.path("tool.log"))
    try:
        rc, out, _ = t.run("-encrypt", "a.bin", "-key", "k", "-config", "tool.ini")
    finally:
        release(t.path("tool.log"))
    expect_log_refused(t, rc, out, b'Cannot open file "tool.log". ')
    check(t.read("tool.log") == b"earlier line\r\n", "the log kept its content", t.read("tool.log"))


def full_pipe():
    """A pipe whose buffer is full: a writer blocks on its first byte. Returns (r, w, bytes)."""
    r, w = os.pipe()
    os.set_blocking(w, False)
    filler = 0
    for size in (65536, 4096, 1):
        while True:
            try:
                filler += os.write(w, b"x" * size)
            except BlockingIOError:
                break
    os.set_blocking(w, True)
    return r, w, filler


def case_log_held(t):
    # A first instance holds the log (its console is blocked); a second one with the
    # same configuration is refused the log and leaves it to the first.
    t.config(pid="tool.pid")
    t.write("a.bin", b"abcdefgh")
    t.write("b.bin", b"12345678")
    r, w, filler = full_pipe()
    first = subprocess.Popen(t.command(["-encrypt", "b.bin", "-key", "k", "-config", "tool.ini"]),
                             cwd=t.work, env=t.env, stdin=subprocess.DEVNULL, stdout=w,
                             stderr=subprocess.DEVNULL)
    os.close(w)
    chunks = []
    reader = threading.Thread(target=lambda: chunks.extend(iter(lambda: os.read(r, 65536), b"")))
    try:
        # The pid file is written after the log is open.
        deadline = time.monotonic() + TIMEOUT
        pid = b""
        while not pid and time.monotonic() < deadline:
            check(first.poll() is None, "the first instance ended with its console blocked", first.returncode)
            if os.path.exists(t.path("tool.pid")):
                pid = t.read("tool.pid")
            time.sleep(0.01)
        check(pid, "the first instance wrote no pid file")
        rc, out, _ = t.run("-encrypt", "a.bin", "-key", "k", "-config", "tool.ini")
        check(rc == 1, "exit code of the second instance", rc, out)
        check(re.search(TIME + rb'EFOpenError: \nCannot open file "tool.log". [^\n]+\n$', out), "error entry", out)
        check(t.read("a.bin") == b"abcdefgh", "the second instance ran its action")
        check(t.read("tool.pid") == pid, "the second instance touched the first one's pid file")
    finally:
        reader.start()
        rc = first.wait(timeout=TIMEOUT)
        reader.join(TIMEOUT)
        os.close(r)
    check(rc == 0, "exit code of the first instance", rc, b"".join(chunks)[filler:])
    check(not os.path.exists(t.path("tool.pid")), "pid file is gone after the end")
    log = t.read("tool.log")
    entry = TIME + rb"Encrypted b.bin in place\r\n" + TIME + DONE % b"-ENCRYPT"
    check(re.fullmatch(entry, log), "the log holds the first instance's entries alone", log)


def case_unhandled_exception(t):
    # Run with nol_console_probe: exceptions that are not the runtime's own are
    # logged like a failed action's, and the shut-down runs.
    t.config(pid="tool.pid")
    cases = [
        ("-bad-alloc", rb"std::bad_alloc: \r\nstd::bad_alloc\r\n"),
        ("-library-error", rb"probelib::ParseError: \r\nunexpected token\r\n"),
        ("-notify-error", rb"EConvertError: \r\nnot a number\r\n" + TIME + rb"std::runtime_error: \r\nmail server gone\r\n"),
    ]
    for action, entry in cases:
        if os.path.exists(t.path("tool.log")):
            os.remove(t.path("tool.log"))
        rc, out, err = t.run(action, "-config", ".\\tool.ini")
        check(rc == 1, "exit code of " + action, rc, out, err)
        check(not os.path.exists(t.path("tool.pid")), "pid file left by " + action)
        log = t.read("tool.log")
        check(re.fullmatch(TIME + entry, log), "log of " + action, log)
        check(out.replace(b"\n", b"\r\n") == log, "console and log agree", out, log)


def case_verify_cmyk(t):
    # Print artwork: an Adobe CMYK JPEG as the main window's background.
    t.config()
    verify_tree(t)
    shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)), "cmyk_adobe.jpg"),
                t.path(os.path.join("cd", "img", "cd.jpg")))
    rc, out, _ = t.run("-verify", "cd", "-config", "tool.ini")
    check(rc == 0, "exit code", rc, out)
    check(b"The CD tree cd is complete" in t.read("tool.log"), "log", t.read("tool.log"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tool", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--cd", required=True)
    ap.add_argument("--wine-run")
    ap.add_argument("--prefix")
    ap.add_argument("--decodes-pictures", action="store_true")
    ap.add_argument("--cmake")
    ap.add_argument("--checksums-script")
    ap.add_argument("case")
    opts = ap.parse_args()
    if opts.wine_run and pe_bits(opts.tool) == 32:
        if subprocess.run([opts.wine_run, "--can-run-32"]).returncode != 0:
            print("skipped: this machine cannot run 32-bit programs")
            return SKIP
    shutil.rmtree(opts.work, ignore_errors=True)
    os.makedirs(opts.work)
    t = Tool(opts)
    cases = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}
    if opts.case not in cases:
        print("unknown case " + opts.case)
        return 2
    try:
        if opts.case == "verify":
            case_verify(t, opts.cd, opts.decodes_pictures)
        elif opts.case == "checksums":
            case_checksums(t, opts)
        else:
            cases[opts.case](t)
    except Failure as f:
        print("FAILED: %s" % f)
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

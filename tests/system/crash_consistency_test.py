"""Kills the real program with SIGKILL at random moments of unattended
installation runs, slowed down so that the moments fall all over the run,
and checks what each kill leaves: the control file holds its earlier bytes
followed by whole blocks, every file a block names is whole and equals the
catalogue's image, and at most one file no block names is there, whole."""

import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TRIALS = int(os.environ.get("CRASH_TRIALS", "200"))
BEFORE = b"\r\nVornName:Host\r\nVornFile:Host.vrn\r\n\r\n"

# Every write, sync and link of the program waits a millisecond first.
SLOW_WRITES = r"""
#define _GNU_SOURCE
#include <dlfcn.h>
#include <unistd.h>
#include <fcntl.h>
static void pause_(void) { usleep(1000); }
ssize_t write(int fd, const void* b, size_t n) {
    static ssize_t (*real)(int, const void*, size_t);
    if (!real) real = dlsym(RTLD_NEXT, "write");
    if (fd > 2) pause_();
    return real(fd, b, n);
}
int fsync(int fd) {
    static int (*real)(int);
    if (!real) real = dlsym(RTLD_NEXT, "fsync");
    pause_();
    return real(fd);
}
int linkat(int a, const char* b, int c, const char* d, int e) {
    static int (*real)(int, const char*, int, const char*, int);
    if (!real) real = dlsym(RTLD_NEXT, "linkat");
    pause_();
    return real(a, b, c, d, e);
}
"""


def catalogue():
    """The blocks and images the source files give, in catalogue order."""
    entries = []
    for k in range(1, 9):
        base = os.path.join(SOURCE, "src/res/catalogue/vorn%d" % k)
        record = open(base + ".ctl", "rb").read()
        lines = [line for line in record.split(b"\r\n") if not line.startswith(b"TotalVorns:")]
        record = b"\r\n".join(lines)
        name = [line for line in lines if line.startswith(b"VornFile:")][0][9:].decode()
        entries.append((b"\r\n\r\n" + record[2:], name, open(base + ".png", "rb").read()))
    return entries


def make_prefix(root):
    os.makedirs(os.path.join(root, "drive_c/Vorns"))
    os.makedirs(os.path.join(root, "dosdevices"))
    os.symlink("../drive_c", os.path.join(root, "dosdevices/c:"))
    open(os.path.join(root, "system.reg"), "w").write("WINE REGISTRY Version 2\n")
    open(os.path.join(root, "drive_c/Vorns/Vorns.ctl"), "wb").write(BEFORE)


def check(folder, entries):
    """Answers how many blocks the control file holds; fails on any fault."""
    control = open(os.path.join(folder, "Vorns.ctl"), "rb").read()
    if not control.startswith(BEFORE):
        raise AssertionError("the earlier bytes changed")
    rest, blocks = control[len(BEFORE):], 0
    while rest:
        block = entries[blocks][0]
        if not rest.startswith(block):
            raise AssertionError("not whole blocks after the earlier bytes: %r" % rest[:80])
        rest, blocks = rest[len(block):], blocks + 1
    named = {entries[i][1] for i in range(blocks)}
    images = {name: image for _, name, image in entries}
    orphans = []
    for name in os.listdir(folder):
        if name == "Vorns.ctl":
            continue
        data = open(os.path.join(folder, name), "rb").read()
        if name not in images or data != images[name]:
            raise AssertionError("%s is not a whole Vorn file (%d bytes)" % (name, len(data)))
        if name not in named:
            orphans.append(name)
    if len(orphans) > 1:
        raise AssertionError("more than one file without a block: %s" % orphans)
    for name in named:
        if not os.path.exists(os.path.join(folder, name)):
            raise AssertionError("a block names %s, which is missing" % name)
    return blocks, len(orphans)


def main():
    quillop = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp()
    try:
        with open(os.path.join(work, "slow.c"), "w") as f:
            f.write(SLOW_WRITES)
        shim = os.path.join(work, "slow.so")
        subprocess.run(["cc", "-shared", "-fPIC", "-o", shim, os.path.join(work, "slow.c"), "-ldl"], check=True)
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update({"LD_PRELOAD": shim, "HOME": work})
        entries = catalogue()

        def start(root):
            return subprocess.Popen([quillop, "--unattended", "--prefix", root, "--folder", "C:\\Vorns"],
                                    env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        # How long a whole run takes, slowed.
        durations = []
        for i in range(3):
            root = os.path.join(work, "whole%d" % i)
            make_prefix(root)
            started = time.monotonic()
            if start(root).wait() != 0:
                raise AssertionError("a whole run failed")
            durations.append(time.monotonic() - started)
            expect = check(os.path.join(root, "drive_c/Vorns"), entries)
            if expect != (8, 0):
                raise AssertionError("a whole run left %s" % (expect,))
        whole = max(durations)

        seed = int(os.environ.get("CRASH_SEED", random.randrange(1 << 30)))
        chance = random.Random(seed)
        outcomes = {}
        for trial in range(TRIALS):
            root = os.path.join(work, "trial%d" % trial)
            make_prefix(root)
            process = start(root)
            time.sleep(chance.uniform(0, whole))
            process.send_signal(signal.SIGKILL)
            process.wait()
            try:
                outcome = check(os.path.join(root, "drive_c/Vorns"), entries)
            except AssertionError as fault:
                print("FAIL trial %d (seed %d): %s" % (trial, seed, fault))
                return 1
            outcomes[outcome] = outcomes.get(outcome, 0) + 1
            shutil.rmtree(root)
        print("%d kills over runs of %.0f ms (seed %d); blocks written, files without a block: count" %
              (TRIALS, whole * 1000, seed))
        for (blocks, orphans), count in sorted(outcomes.items()):
            print("  %d blocks, %d orphan: %d" % (blocks, orphans, count))
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

"""Kills the real program with SIGKILL at random moments of unattended
installation runs, slowed down so that the moments fall all over the run,
and checks what each kill leaves: the control file holds its earlier bytes
followed by whole blocks, every file a block names is whole and equals the
catalogue's image, at most one file no block names is there, whole, and
nothing else but temporaries of our own. A rerun then installs the rest
and leaves no temporary.

  crash_consistency_test.py <quillop> <file calls shim> [unnamed|temporary|ntfs]

unnamed: files are written unnamed where the file system has them;
temporary: as on a file system without unnamed files (the shim refuses
them); ntfs: on a real one, NTFS through ntfs-3g on a loop image, where this
machine can mount it."""

import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from throwaway_prefix import Prefix, headless_environment

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TRIALS = int(os.environ.get("CRASH_TRIALS", "200"))
BEFORE = b"\r\nVornName:Host\r\nVornFile:Host.vrn\r\n\r\n"

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
    """A prefix at `root` whose C:\\Vorns holds the host's control file."""
    Prefix(root=root).write_file("Vorns/Vorns.ctl", BEFORE)


TEMPORARY = re.compile(r"^\.quillop-[0-9a-f]{16}\.tmp$")


def check(folder, entries):
    """Answers how many blocks the control file holds and how many files no
    block names; fails on any fault."""
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
        if name == "Vorns.ctl" or TEMPORARY.match(name):
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


def mounted_ntfs(work):
    """An NTFS file system mounted below `work` through ntfs-3g, or None
    (and why) where this machine cannot make or mount one."""
    image, mount = os.path.join(work, "ntfs.img"), os.path.join(work, "ntfs")
    os.mkdir(mount)
    with open(image, "wb") as f:
        f.truncate(64 << 20)
    for command in (["mkntfs", "-F", "-Q", "-q", image], ["ntfs-3g", image, mount]):
        try:
            done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        except FileNotFoundError:
            return None, command[0] + " is not installed"
        if done.returncode != 0:
            return None, "%s failed: %s" % (command[0], done.stderr.decode().strip())
    return mount, None


def main():
    quillop, shim = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    mode = sys.argv[3] if len(sys.argv) > 3 else "unnamed"
    work = tempfile.mkdtemp()
    mount = None
    try:
        trials_root = work
        if mode == "ntfs":
            mount, why = mounted_ntfs(work)
            if mount is None:
                print("SKIPPED: no NTFS file system here: " + why)
                return 77
            trials_root = mount
        env = headless_environment(work)
        slowed = dict(env, LD_PRELOAD=shim, QUILLOP_SHIM_SLOW="1",
                      QUILLOP_SHIM_NO_UNNAMED="1" if mode == "temporary" else "0")
        entries = catalogue()

        def start(root, environment=slowed):
            return subprocess.Popen([quillop, "--unattended", "--prefix", root, "--folder", "C:\\Vorns"],
                                    env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        # How long a whole run takes, slowed.
        durations = []
        for i in range(3):
            root = os.path.join(trials_root, "whole%d" % i)
            make_prefix(root)
            started = time.monotonic()
            if start(root).wait() != 0:
                raise AssertionError("a whole run failed")
            durations.append(time.monotonic() - started)
            expect = check(os.path.join(root, "drive_c/Vorns"), entries)
            if expect != (8, 0):
                raise AssertionError("a whole run left %s" % (expect,))
            shutil.rmtree(root)
        whole = max(durations)

        seed = int(os.environ.get("CRASH_SEED", random.randrange(1 << 30)))
        chance = random.Random(seed)
        outcomes = {}
        for trial in range(TRIALS):
            root = os.path.join(trials_root, "trial%d" % trial)
            make_prefix(root)
            process = start(root)
            time.sleep(chance.uniform(0, whole))
            process.send_signal(signal.SIGKILL)
            process.wait()
            folder = os.path.join(root, "drive_c/Vorns")
            try:
                outcome = check(folder, entries)
                # The rerun meets what the kill left as any later run would.
                rerun = start(root, dict(slowed, QUILLOP_SHIM_SLOW="0")).wait()
                if rerun != 0:
                    raise AssertionError("the rerun exited with %d" % rerun)
                if check(folder, entries) != (8, 0):
                    raise AssertionError("the rerun left %s" % (check(folder, entries),))
                left = [name for name in os.listdir(folder) if TEMPORARY.match(name)]
                if left:
                    raise AssertionError("the rerun left temporaries: %s" % left)
            except AssertionError as fault:
                print("FAIL trial %d (seed %d, %s): %s" % (trial, seed, mode, fault))
                return 1
            outcomes[outcome] = outcomes.get(outcome, 0) + 1
            shutil.rmtree(root)
        print("%d kills over runs of %.0f ms (seed %d, %s); blocks written, files without a block: count" %
              (TRIALS, whole * 1000, seed, mode))
        for (blocks, orphans), count in sorted(outcomes.items()):
            print("  %d blocks, %d orphan: %d" % (blocks, orphans, count))
        return 0
    finally:
        if mount:
            subprocess.run(["umount", mount])
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

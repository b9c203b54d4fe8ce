"""Records the file calls of real unattended runs through the preloaded
shim and checks that each entry is made durable in the order that matters:
its image written, then flushed, then given its name, then the folder
flushed, then room for its block set aside and the block appended; and the control file flushed before the
run reports. With unnamed files and with temporary names. Then a run whose
last flush fails must say so and exit 1.

On Windows the same order is checked on the calls quillop's core makes
there, recorded by write_order.exe under Wine.

  write_order_test.py <quillop> <file calls shim>
  write_order_test.py --windows <run_under_wine.sh> win64|win32 <write_order.exe>"""

import os
import shutil
import subprocess
import sys
import tempfile

from crash_consistency_test import make_prefix
from throwaway_prefix import headless_environment


def real(path):
    """`path` with its folder's links resolved, as the descriptors show it."""
    if "/" not in path:
        return path
    folder, name = path.rsplit("/", 1)
    return os.path.join(os.path.realpath(folder), name)


def traced_run(quillop, shim, root, extra):
    trace = os.path.join(root, "trace")
    env = headless_environment(root, dict(extra, LD_PRELOAD=shim, QUILLOP_SHIM_TRACE=trace))
    done = subprocess.run([quillop, "--unattended", "--prefix", root, "--folder", "C:\\Vorns"], env=env,
                          capture_output=True, timeout=60)
    with open(trace) as f:
        events = [line.rstrip("\n").split("\t") for line in f]
    return done.returncode, done.stderr.decode(), [(e[0], real(e[1]), real(e[2]) if len(e) > 2 else None)
                                                   for e in events]


def index_of(events, wanted, start=0, stop=None):
    """The index of the first event from `start` (before `stop`) for which
    `wanted` holds, or None."""
    for i in range(start, len(events) if stop is None else stop):
        if wanted(events[i]):
            return i
    return None


def check_order(events, folder):
    control = os.path.join(folder, "Vorns.ctl")
    names = [i for i, (call, _, target) in enumerate(events)
             if call == "name" and target.startswith(folder + "/") and target.endswith(".vrn")]
    if len(names) != 8:
        raise AssertionError("%d Vorn files were given names, not 8" % len(names))
    for i in names:
        source, target = events[i][1], events[i][2]
        writes = [k for k in range(i) if events[k] == ("write", source, None)]
        if not writes:
            raise AssertionError("%s was named before any byte of it was written" % target)
        if index_of(events, lambda e: e == ("fsync", source, None), writes[-1], i) is None:
            raise AssertionError("%s was named before its bytes were flushed" % target)
        block = index_of(events, lambda e: e == ("write", control, None), i)
        if block is None:
            raise AssertionError("no block was appended after %s got its name" % target)
        if index_of(events, lambda e: e == ("reserve", control, None), i, block) is None:
            raise AssertionError("the block of %s was written before its room was set aside" % target)
        if index_of(events, lambda e: e == ("fsync", folder, None), i, block) is None:
            raise AssertionError("the block of %s was appended before the folder was flushed" % target)
    last_block = max(i for i, e in enumerate(events) if e == ("write", control, None))
    report = index_of(events, lambda e: e[:2] == ("write", "<standard output>"), last_block)
    if report is None:
        raise AssertionError("the run reported nothing after its last block")
    if index_of(events, lambda e: e == ("fsync", control, None), last_block, report) is None:
        raise AssertionError("the run reported before the control file was flushed")


def windows_run(run_under_wine, arch, recorder):
    work = tempfile.mkdtemp()
    try:
        trace = os.path.join(work, "trace")
        folder = "C:\\quillop-write-order-%d" % os.getpid()
        done = subprocess.run([run_under_wine, arch, recorder, "Z:" + trace.replace("/", "\\"), folder],
                              capture_output=True, timeout=300)
        if done.returncode == 77:
            print(done.stdout.decode() + done.stderr.decode())
            return 77
        if done.returncode != 0:
            print("FAIL write order on Windows: the run exited with %d: %s" % (done.returncode, done.stderr.decode()))
            return 1
        with open(trace) as f:
            events = [tuple(line.rstrip("\n").split("\t")) for line in f]
        events = [(e[0], e[1], e[2] if len(e) > 2 else None) for e in events]
        try:
            check_order(events, folder.replace("\\", "/"))
        except AssertionError as fault:
            print("FAIL write order on Windows: %s" % fault)
            return 1
        print("ok   write order on Windows")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    if sys.argv[1] == "--windows":
        return windows_run(*sys.argv[2:5])
    quillop, shim = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    work = tempfile.mkdtemp()
    failed = 0
    try:
        for mode, refuse in (("unnamed files", "0"), ("temporary names", "1")):
            root = os.path.join(work, mode.replace(" ", "-"))
            make_prefix(root)
            code, err, events = traced_run(quillop, shim, root, {"QUILLOP_SHIM_NO_UNNAMED": refuse})
            try:
                if code != 0:
                    raise AssertionError("the run exited with %d: %s" % (code, err))
                check_order(events, os.path.realpath(os.path.join(root, "drive_c/Vorns")))
                print("ok   write order with %s" % mode)
            except AssertionError as fault:
                failed += 1
                print("FAIL write order with %s: %s" % (mode, fault))

        root = os.path.join(work, "failing-flush")
        make_prefix(root)
        code, err, _ = traced_run(quillop, shim, root, {"QUILLOP_SHIM_FAIL_FSYNC": "/Vorns.ctl"})
        expected = (1, "quillop: every block was written, but the control file could not be flushed to the disk: "
                       "C:\\Vorns\\Vorns.ctl: Input/output error\n")
        if (code, err) == expected:
            print("ok   a last flush that fails")
        else:
            failed += 1
            print("FAIL a last flush that fails:\n  expected %r\n  actual   %r" % (expected, (code, err)))
        return 1 if failed else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

"""The command line's cases, declared once and run against each program
that takes them: the Linux quillop on a prefix of its own, and quillop.exe
(x64 and PE32) under Wine on a prefix made by wineboot; Corvane is
registered at C:\\Corvane in both. Every expectation is written here, so
the programs give the same exit codes, reports and bytes in the Vorns
folder; they differ only in how a path is spelled, the Linux program's
line naming its prefix, and the name the usage hint gives the program.
  unattended_cases.py linux <quillop>
  unattended_cases.py wine <loader> <quillop.exe> <file holder.exe>
(the second from tests/windows/system/unattended_cases.sh)"""

import contextlib
import fcntl
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

from packaged_collection import ALL_BLOCKS, NAMES, blocks
from throwaway_prefix import Prefix, headless_environment

HOST = b"\r\nVornName:Fern\r\nVornFile:Host.vrn\r\n"
CATALOGUE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../src/res/catalogue")
FOLDER = "Vorns folder: C:\\Corvane\\Vorns (Corvane's registration)"


def installed(names):
    return ["%s: installed as %s.vrn" % (name, name) for name in names]


def done(installed_count, already, skipped):
    return "Done: %d installed, %d already installed, %d skipped." % (installed_count, already, skipped)


def document(code, vorns):
    """The JSON report of a run into the folder Corvane's registration gives,
    `vorns` as (packaged name, name, file, outcome, reason)."""
    return {"completed": True, "dryRun": False, "error": None, "exitCode": code,
            "folder": {"from": "Corvane's registration", "path": "c:\\corvane\\vorns", "problems": []},
            "vorns": [{"packagedName": packaged, "name": name, "file": file, "outcome": outcome, "reason": reason}
                      for packaged, name, file, outcome, reason in vorns]}


class Case:
    """A run (`runs` times, the last one checked) and what it must give.
    `json`, the Vorns as `document` takes them, runs the case once more with
    --json."""

    def __init__(self, name, arguments, code, out, err="", control=b"", files=(), after=None, new_files=(),
                 runs=1, held=False, log=None, json=None, document=None):
        self.name, self.arguments, self.code, self.out, self.err = name, arguments, code, out, err
        self.control, self.files, self.runs, self.held, self.log = control, files, runs, held, log
        self.json, self.document = json, document
        # What the Vorns folder holds afterwards: Vorns.ctl and the files
        # besides the host's own (the packaged image of each).
        self.after = control if after is None else after
        self.new_files = new_files

    def as_json(self):
        return Case(self.name + ", as JSON", self.arguments + ["--json"], self.code, None, self.err, self.control,
                    self.files, self.after, self.new_files, self.runs, self.held, self.log,
                    document=document(self.code, self.json))


RENAMED = {"Fern": ("Fern2", "Fern.vrn"), "Pebbles": ("Pebbles", "Pebbles2.vrn")}
INSTALLED = [(n, n, n + ".vrn", "installed", None) for n in NAMES]
CASES = [
    Case("installed", ["--unattended"], 0, [FOLDER] + installed(NAMES) + [done(8, 0, 0)],
         after=ALL_BLOCKS, new_files=NAMES, json=INSTALLED),
    Case("already there: a second run writes nothing", ["--unattended"], 0,
         [FOLDER] + ["%s: already installed as %s.vrn" % (n, n) for n in NAMES] + [done(0, 8, 0)],
         runs=2, after=ALL_BLOCKS, new_files=NAMES, json=[(n, n, n + ".vrn", "alreadyInstalled", None) for n in NAMES]),
    Case("conflicts skipped", ["--unattended"], 5,
         [FOLDER, "Fern: skipped (name listed)", "Pebbles: skipped (file exists)"] + installed(NAMES[2:])
         + [done(6, 0, 2)], control=HOST, files=("Pebbles.vrn",),
         after=HOST + blocks(skipped=("Fern", "Pebbles")), new_files=NAMES[2:],
         json=[("Fern", "Fern", "Fern.vrn", "skipped", "name listed"),
               ("Pebbles", "Pebbles", "Pebbles.vrn", "skipped", "file exists")] + INSTALLED[2:]),
    Case("conflicts renamed", ["--unattended", "--on-conflict=rename"], 0,
         [FOLDER, "Fern: renamed to Fern2/Fern.vrn (name listed)",
          "Pebbles: renamed to Pebbles/Pebbles2.vrn (file exists)"] + installed(NAMES[2:]) + [done(8, 0, 0)],
         control=HOST, files=("Pebbles.vrn",), after=HOST + blocks(renamed=RENAMED),
         new_files=["Fern", "Pebbles2"] + NAMES[2:],
         json=[("Fern", "Fern2", "Fern.vrn", "renamed", "name listed"),
               ("Pebbles", "Pebbles", "Pebbles2.vrn", "renamed", "file exists")] + INSTALLED[2:]),
    Case("a dry run", ["--unattended", "--dry-run"], 0,
         [FOLDER, "Dry run: nothing is written."] + installed(NAMES) + [done(8, 0, 0)]),
    Case("a control file held by another program, logged",
         ["--unattended", "--folder", "C:\\Corvane\\Vorns", "--log", "{log}"], 1,
         ["Vorns folder: C:\\Corvane\\Vorns (--folder)"],
         "quillop: stopped before the first Vorn: C:\\Corvane\\Vorns\\Vorns.ctl: in use by another process",
         held=True, log="Corvane/held.log"),
    Case("no Vorns folder", ["--unattended", "--folder", "C:\\Nope"], 3, ["Vorns folder: C:\\Nope (--folder)"],
         "quillop: no Vorns folder: 'C:\\Nope' does not hold Vorns.ctl"),
    Case("a folder named beyond ASCII, in UTF-8 each way", ["--unattended", "--folder", "C:\\Caf\u00e9\\Vorns"], 3,
         ["Vorns folder: C:\\Caf\u00e9\\Vorns (--folder)"],
         "quillop: no Vorns folder: 'C:\\Caf\u00e9\\Vorns' does not hold Vorns.ctl"),
    Case("the report in a log as well", ["--unattended", "--log", "{log}"], 0,
         [FOLDER] + installed(NAMES) + [done(8, 0, 0)], log="Corvane/install.log", after=ALL_BLOCKS,
         new_files=NAMES),
    Case("a log that cannot be written: nothing installed", ["--unattended", "--log", "{log}"], 1, [],
         "quillop: cannot write the log '{log}': No such file or directory", log="Nope/install.log"),
    Case("/? shows the help, as Windows users ask for it", ["/?"], 0, None),
    Case("an unknown option", ["--bogus"], 2, [], "quillop: unknown option '--bogus'"),
    Case("an unexpected argument", ["--unattended", "stray"], 2, [], "quillop: unexpected argument 'stray'"),
    Case("an option given twice", ["--unattended", "--folder", "C:\\A", "--folder", "C:\\B"], 2, [],
         "quillop: --folder is given twice"),
    Case("a conflict choice there is not", ["--unattended", "--on-conflict", "maybe"], 2, [],
         "quillop: --on-conflict takes skip or rename, not 'maybe'"),
    Case("--dry-run without --unattended", ["--dry-run"], 2, [], "quillop: --dry-run goes with --unattended"),
    Case("--quiet with --json", ["--unattended", "--quiet", "--json"], 2, [],
         "quillop: --quiet and --json do not go together"),
]


class LinuxProgram:
    """The Linux quillop on a prefix of its own, with no display."""

    def __init__(self, quillop):
        self.quillop = quillop
        self.home = tempfile.mkdtemp(prefix="quillop-home-")
        self.prefix = Prefix()
        self.prefix.register_host("C:\\Corvane\\Corvane.exe %1")
        self.drive_c = self.prefix.on_drive_c("")

    def path(self, relative):
        return os.path.join(self.drive_c, relative)

    def run(self, arguments):
        """Answers the exit code, standard output and error, and the windows
        the run made: with no display, a window would end the run."""
        environment = headless_environment(self.home, {"WINEPREFIX": self.prefix.root, "XDG_DATA_HOME": "",
                                                       "WINE_PREFIXES": "", "LC_ALL": "C.UTF-8"})
        done = subprocess.run([self.quillop] + arguments, env=environment, capture_output=True, timeout=60)
        return done.returncode, done.stdout, done.stderr.decode(), []

    @contextlib.contextmanager
    def holding(self, relative):
        holder = os.open(self.path(relative), os.O_RDWR)
        F_OFD_SETLK = 37
        fcntl.fcntl(holder, F_OFD_SETLK, struct.pack("hhqqi", fcntl.F_WRLCK, 0, 0, 0, 0))
        try:
            yield
        finally:
            os.close(holder)

    def remove(self):
        self.prefix.remove()
        shutil.rmtree(self.home)


class WineProgram:
    """quillop.exe under Wine, on the prefix $WINEPREFIX names."""

    def __init__(self, loader, program, holder):
        self.loader, self.program, self.holder = loader, program, holder
        self.drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")

    def path(self, relative):
        return "C:\\" + relative.replace("/", "\\")

    def run(self, arguments):
        """Answers the exit code, standard output and error, and the windows
        the run made, as Wine's trace of window creation names them."""
        done = subprocess.run([self.loader, self.program] + arguments, capture_output=True, timeout=300,
                              env=dict(os.environ, WINEDEBUG="-all,trace+win"))
        lines = done.stderr.decode().splitlines(True)
        windows = [line for line in lines if ":trace:win:" in line and "CreateWindowEx" in line]
        return done.returncode, done.stdout, "".join(line for line in lines if ":trace:" not in line), windows

    @contextlib.contextmanager
    def holding(self, relative):
        # The holder opens the file as Corvane does, says 'y', and holds it until its input ends.
        holder = subprocess.Popen([self.loader, self.holder], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  env=dict(os.environ, QUILLOP_TEST_HOLD_FILE=self.path(relative)))
        try:
            if holder.stdout.read(1) != b"y":
                raise AssertionError("the holder could not open " + relative)
            yield
        finally:
            holder.stdin.close()
            holder.wait(timeout=60)

    def remove(self):
        pass


def spelled(line):
    """A report line with its folder's spelling made one: case, and a trailing backslash."""
    return re.sub(r"^(Vorns folder: )(.*?)\\? \(", lambda m: m.group(1) + m.group(2).lower() + " (", line)


def without_paths(document):
    """The JSON document without what only spelling or a prefix tells apart."""
    document = dict(document)
    document.pop("prefix", None)
    folder = dict(document["folder"])
    folder["path"] = folder["path"].lower().rstrip("\\")
    document["folder"] = folder
    return document


def run_case(program, case):
    vorns = os.path.join(program.drive_c, "Corvane", "Vorns")
    shutil.rmtree(os.path.join(program.drive_c, "Corvane"), ignore_errors=True)
    os.makedirs(vorns)
    with open(os.path.join(vorns, "Vorns.ctl"), "wb") as f:
        f.write(case.control)
    for name in case.files:
        with open(os.path.join(vorns, name), "wb") as f:
            f.write(b"host's own")
    log = program.path(case.log) if case.log else ""
    arguments = [a.replace("{log}", log) for a in case.arguments]
    with program.holding("Corvane/Vorns/Vorns.ctl") if case.held else contextlib.nullcontext():
        for _ in range(case.runs):
            code, stdout, err, windows = program.run(arguments)
    problems = []
    out = stdout.decode()
    if code != case.code:
        problems.append("exit code %d, not %d" % (code, case.code))
    if windows:
        problems.append("a window was made: " + windows[0])
    if case.document is not None:
        if without_paths(json.loads(out)) != case.document:
            problems.append("the JSON report differs: %s" % out)
    elif case.out is None:
        if not out.startswith("Usage: quillop") or "--unattended" not in out or "--log <file>" not in out:
            problems.append("not the help: %r" % out[:200])
    else:
        lines = [spelled(line) for line in out.splitlines() if not line.startswith("Prefix: ")]
        if lines != [spelled(line) for line in case.out]:
            problems.append("the report differs: %r" % out)
    # A usage error ends with the hint, which names the program as it was built.
    expected_err = ([case.err.replace("{log}", log)] if case.err else []) + (["Try"] if case.code == 2 else [])
    if [line[:3] if line.startswith("Try '") else line for line in err.splitlines()] != expected_err:
        problems.append("standard error differs: %r" % err)
    # The log holds the report and the errors, in the order they were written.
    if case.log and os.path.exists(os.path.join(program.drive_c, case.log)):
        with open(os.path.join(program.drive_c, case.log), "rb") as f:
            if f.read() != stdout + err.encode():
                problems.append("the log does not hold the report and the errors")
    with open(os.path.join(vorns, "Vorns.ctl"), "rb") as f:
        if f.read() != case.after:
            problems.append("Vorns.ctl differs")
    expected = sorted(["Vorns.ctl"] + list(case.files) + [name + ".vrn" for name in case.new_files])
    if sorted(os.listdir(vorns)) != expected:
        problems.append("the Vorns folder holds %s, not %s" % (sorted(os.listdir(vorns)), expected))
    for index, name in enumerate(NAMES):
        file = dict(RENAMED).get(name, (name, name + ".vrn"))[1] if "Pebbles2" in case.new_files else name + ".vrn"
        if name in case.new_files or file[:-4] in case.new_files:
            with open(os.path.join(CATALOGUE, "vorn%d.png" % (index + 1)), "rb") as source, \
                    open(os.path.join(vorns, file), "rb") as copy:
                if source.read() != copy.read():
                    problems.append(file + " is not the packaged image")
    return problems


def main():
    if sys.argv[1] == "linux":
        program = LinuxProgram(sys.argv[2])
    else:
        program = WineProgram(*sys.argv[2:5])
    failed = 0
    try:
        for case in CASES + [case.as_json() for case in CASES if case.json]:
            problems = run_case(program, case)
            print(("FAIL %s: %s" % (case.name, "; ".join(problems))) if problems else "ok   " + case.name, flush=True)
            failed += bool(problems)
    finally:
        program.remove()
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()

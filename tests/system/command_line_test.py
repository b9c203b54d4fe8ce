"""The command line: options and exit codes without a display, and
unattended runs that write byte for byte what the window's run writes."""

import json
import os
import shutil
import socket
import stat
import struct
import subprocess
import tempfile
import time

from desktop_session import Session, TestFailure, control, expect_equal, is_focused, run, text_of, wait_until
from packaged_collection import ALL_BLOCKS, NAMES
from throwaway_prefix import Prefix, headless_environment

HOST_CONTROL = b"\r\nVornName:Fern\r\nVornFile:Host.vrn\r\n\r\n"


def cli_environment(home, env=None, dropped=()):
    """No display, and no prefix or front-end found but those the test makes
    under `home`."""
    return headless_environment(home, dict({"XDG_DATA_HOME": "", "WINE_PREFIXES": "", "QT_QPA_PLATFORM": ""},
                                           **(env or {})), ("WINEPREFIX",) + tuple(dropped))


def quillop_cli(quillop, arguments, home, env=None):
    """Runs quillop with no display; answers (exit code, stdout, stderr)."""
    done = subprocess.run([quillop] + arguments, env=cli_environment(home, env), capture_output=True, timeout=60,
                          cwd=home)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def conflicting_prefix():
    """A prefix whose C:\\Vorns lists Fern and holds a file Pebbles.vrn."""
    prefix = Prefix()
    prefix.write_file("Vorns/Vorns.ctl", HOST_CONTROL)
    prefix.write_file("Vorns/Pebbles.vrn", b"host's own")
    return prefix


def folder_bytes(prefix):
    folder = prefix.on_drive_c("Vorns")
    return {name: prefix.read_file("Vorns/" + name) for name in sorted(os.listdir(folder))}


def options_and_exit_codes(quillop):
    home = tempfile.mkdtemp()
    try:
        code, out, err = quillop_cli(quillop, ["--help"], home)
        expect_equal("--help exit", code, 0)
        for text in ("--prefix <dir|label>", "--list-prefixes", "--json", "--folder <folder>", "--unattended",
                     "--dry-run", "--quiet",
                     "--on-conflict <skip|rename>", "5  the installation finished with some Vorns skipped"):
            if text not in out:
                raise TestFailure("--help does not show " + text)
        expect_equal("--version", quillop_cli(quillop, ["--version"], home)[:2], (0, "quillop 1.0.0\n"))
        for arguments in (["--bogus"], ["--unattended", "--on-conflict=maybe"], ["--json"],
                          ["--on-conflict=skip"], ["stray"], ["--prefix", home]):
            code, out, err = quillop_cli(quillop, arguments, home)
            expect_equal("exit of %s" % arguments, code, 2)
            if not err.endswith("\nTry 'quillop --help'.\n") or err.count("\n") != 2 or out:
                raise TestFailure("not one line and the hint on standard error for %s: %r" % (arguments, err))

        prefix = Prefix()
        code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", prefix.root, "--folder", "C:\\Nope"], home)
        expect_equal("exit without a Vorns folder", code, 3)
        expect_equal("no folder", err, "quillop: no Vorns folder: 'C:\\Nope' does not hold Vorns.ctl\n")

        # A control file that is a folder cannot be opened: the run stops.
        os.makedirs(prefix.on_drive_c("Vorns/Vorns.ctl"))
        code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", prefix.root, "--folder", "C:\\Vorns",
                                               "--on-conflict", "rename"], home)
        expect_equal("a run that stops", (code, err), (
            1, "quillop: stopped before the first Vorn: C:\\Vorns\\Vorns.ctl: Is a directory\n"))
        prefix.remove()
    finally:
        shutil.rmtree(home)


def list_prefixes_and_several(quillop):
    home = tempfile.mkdtemp()
    try:
        steam = ".local/share/Steam/steamapps"
        for relative, registered in (("odd\tname", False), ("plain", False), ("paint", True), ("sketch", True),
                                     ("../Steam/steamapps/compatdata/1234/pfx", False)):
            prefix = os.path.join(home, ".local/share/wineprefixes", relative)
            os.makedirs(os.path.join(prefix, "drive_c/Corvane/Vorns"))
            with open(os.path.join(prefix, "drive_c/Corvane/Vorns/Vorns.ctl"), "wb"):
                pass
            with open(os.path.join(prefix, "system.reg"), "w") as f:
                f.write("WINE REGISTRY Version 2\n")
                if registered:
                    f.write("[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                            "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n")
        with open(os.path.join(home, steam, "appmanifest_1234.acf"), "w") as f:
            f.write('"AppState"\n{\n\t"appid"\t\t"1234"\n\t"name"\t\t"Corvane Paint Studio"\n}\n')
        code, out, err = quillop_cli(quillop, ["--list-prefixes", "--json"], home)
        expect_equal("--list-prefixes exit", code, 0)
        base = os.path.join(home, ".local/share/wineprefixes")
        expect_equal("--list-prefixes --json", json.loads(out), [
            {"label": "winetricks:odd\tname", "source": "winetricks", "name": "odd\tname",
             "shownAs": "winetricks: odd\tname", "path": base + "/odd\tname", "vornsFolder": None, "problems": []},
            {"label": "winetricks:paint", "source": "winetricks", "name": "paint", "shownAs": "winetricks: paint",
             "path": base + "/paint", "vornsFolder": "c:\\Corvane\\Vorns\\", "problems": []},
            {"label": "winetricks:plain", "source": "winetricks", "name": "plain", "shownAs": "winetricks: plain",
             "path": base + "/plain", "vornsFolder": None, "problems": []},
            {"label": "winetricks:sketch", "source": "winetricks", "name": "sketch", "shownAs": "winetricks: sketch",
             "path": base + "/sketch", "vornsFolder": "c:\\Corvane\\Vorns\\", "problems": []},
            {"label": "steam:1234", "source": "Steam", "name": "Corvane Paint Studio",
             "shownAs": "Steam: Corvane Paint Studio", "path": os.path.join(home, steam, "compatdata/1234/pfx"),
             "vornsFolder": None, "problems": []},
        ])
        code, out, err = quillop_cli(quillop, ["--list-prefixes"], home)
        expect_equal("--list-prefixes", out.splitlines()[:3], [
            "\"winetricks:odd\\tname\"\t\"%s/odd\\tname\"\t(no Vorns folder)\t\"winetricks: odd\\tname\"" % base,
            "winetricks:paint\t%s/paint\tc:\\Corvane\\Vorns\\\twinetricks: paint" % base,
            "winetricks:plain\t%s/plain\t(no Vorns folder)\twinetricks: plain" % base])

        code, out, err = quillop_cli(quillop, ["--unattended"], home)
        expect_equal("exit with several prefixes", code, 4)
        expect_equal("the prefixes listed", err,
                     "quillop: Corvane is in several Wine prefixes; name one with --prefix:\n"
                     "  winetricks:paint\t%s/paint\n  winetricks:sketch\t%s/sketch\n" % (base, base))
        code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", "winetricks:sketch"], home)
        expect_equal("a run found through the registration", (code, out.splitlines()[:3], out.splitlines()[-1]), (
            0, ["Prefix: %s/sketch (--prefix: winetricks:sketch)" % base,
                "Vorns folder: c:\\Corvane\\Vorns\\ (Corvane's registration)",
                "Fern: installed as Fern.vrn"],
            "Done: 8 installed, 0 already installed, 0 skipped."))
    finally:
        shutil.rmtree(home)


def window_run(quillop, prefix, answer_key):
    """Installs through the real window, answering each conflict dialog
    with `answer_key`; answers the done text."""
    with Session(quillop, prefix, arguments=["--folder", "C:\\Vorns"]) as session:
        window = session.window("Ostrel Picture Vorn Installer")
        install = control(window, "push button", "Install Vorn Files")
        wait_until("the focus on Install", lambda: is_focused(install))
        session.key("Return")
        for title in ("Duplicate Vorn Name", "Duplicate File Name"):
            session.focused_window(title)
            session.key(answer_key)
            session.wait_closed(title)
        status = control(window, "label", "Status")
        return wait_until("the done text", lambda: text_of(status) if text_of(status).startswith("Done") else None)


def unattended_writes_what_the_window_writes(quillop):
    home = tempfile.mkdtemp()
    try:
        for policy, key, code_expected, names in (
                ("rename", "Return", 0, ["Fern2"] + NAMES[1:]),
                ("skip", "Escape", 5, NAMES[2:])):
            by_window, unattended = conflicting_prefix(), conflicting_prefix()
            try:
                done = window_run(quillop, by_window, key)
                code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", unattended.root, "--folder",
                                                       "C:\\Vorns", "--on-conflict=" + policy], home)
                expect_equal("exit with --on-conflict=" + policy, code, code_expected)
                expect_equal("what became of the first two", out.splitlines()[2:4], {
                    "rename": ["Fern: renamed to Fern2/Fern.vrn (name listed)",
                               "Pebbles: renamed to Pebbles/Pebbles2.vrn (file exists)"],
                    "skip": ["Fern: skipped (name listed)", "Pebbles: skipped (file exists)"]}[policy])
                expect_equal("the window's done text",
                              done.split("\n")[1], ", ".join(names) + ".")
                window_files, unattended_files = folder_bytes(by_window), folder_bytes(unattended)
                expect_equal("files written (%s)" % policy, sorted(unattended_files), sorted(window_files))
                if unattended_files != window_files:
                    raise TestFailure("the bytes differ from the window's with --on-conflict=" + policy)
                expect_equal("the host's file", unattended_files["Pebbles.vrn"], b"host's own")
                if not unattended_files["Vorns.ctl"].startswith(HOST_CONTROL):
                    raise TestFailure("the control file's earlier bytes changed")
            finally:
                by_window.remove()
                unattended.remove()
    finally:
        shutil.rmtree(home)


# The blocks the eight packaged Vorns append, in order, written out.
class Homes:
    """A home whose search finds one prefix with Corvane (winetricks:found),
    and a prefix of its own elsewhere (alone); in both, Corvane is registered
    at C:\\Corvane with an empty Vorns.ctl."""

    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="quillop-home-")
        self.found = os.path.join(self.home, ".local/share/wineprefixes/found")
        self.alone = tempfile.mkdtemp(prefix="quillop-alone-")
        for root in (self.found, self.alone):
            os.makedirs(os.path.join(root, "drive_c/Corvane/Vorns"))
            with open(os.path.join(root, "drive_c/Corvane/Vorns/Vorns.ctl"), "wb"):
                pass
            with open(os.path.join(root, "system.reg"), "w") as f:
                f.write("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                        "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n")

    def control(self, root):
        with open(os.path.join(root, "drive_c/Corvane/Vorns/Vorns.ctl"), "rb") as f:
            return f.read()

    def vorn_files(self, root):
        return sorted(n for n in os.listdir(os.path.join(root, "drive_c/Corvane/Vorns")) if n != "Vorns.ctl")

    def remove(self):
        shutil.rmtree(self.home)
        shutil.rmtree(self.alone)


def run_child(quillop, arguments, home, env=None, closed=(), stdout=None, wrapper=(), timeout=60):
    """Runs quillop with no display and descriptors `closed` closed; answers
    (exit code, stdout, stderr), each stream empty where it was closed."""
    environment = cli_environment(home, env, ("XDG_CONFIG_HOME",))
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        child = subprocess.Popen(list(wrapper) + [quillop] + arguments, env=environment, cwd=home,
                                 stdin=subprocess.DEVNULL, stdout=stdout if stdout is not None else out, stderr=err,
                                 preexec_fn=(lambda: [os.close(fd) for fd in closed]) if closed else None)
        try:
            code = child.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()
            raise TestFailure("%s did not end within %d s" % (arguments, timeout))
        out.seek(0)
        err.seek(0)
        return code, out.read().decode(), err.read().decode()


def first_line(text):
    return text.split("\n", 1)[0]


def write_to(path):
    return lambda: open(path, "wb")


def run_twice_then(cut):
    """Installs into `alone` once, then takes `cut` bytes off the end of its
    Vorns.ctl, as a run stopped between a file and its block would leave it."""
    def prepare(quillop, homes):
        run_child(quillop, ["--unattended", "--prefix", homes.alone], homes.home)
        path = os.path.join(homes.alone, "drive_c/Corvane/Vorns/Vorns.ctl")
        os.truncate(path, os.path.getsize(path) - cut)
    return prepare


SHELLS_BLOCK = len(b"\r\n\r\nVornName:Shells\r\nVornFile:Shells.vrn\r\nStepSize:230\r\nVornsAcross:5\r\n"
                   b"VornsDown:4\r\nVornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n")

# name, arguments, environment, closed descriptors, preparation, exit code,
# first line of standard output, first line of standard error,
# Vorns.ctl of (found, alone) afterwards.
def other_bytes_of_the_same_size(quillop, homes):
    """Installs into `alone`, then gives Fern.vrn other bytes of its size."""
    run_child(quillop, ["--unattended", "--prefix", homes.alone], homes.home)
    path = os.path.join(homes.alone, "drive_c/Corvane/Vorns/Fern.vrn")
    size = os.path.getsize(path)
    with open(path, "wb") as f:
        f.write(b"\0" * size)
    control = os.path.join(homes.alone, "drive_c/Corvane/Vorns/Vorns.ctl")
    os.truncate(control, 0)


def heroic_game_in(folder):
    """A Heroic configuration under `folder` ({home}/...) naming `alone`."""
    def prepare(quillop, homes):
        games = os.path.join(homes.home, folder, "heroic/GamesConfig")
        os.makedirs(games)
        with open(os.path.join(games, "Sketch.json"), "w") as f:
            json.dump({"Sketch": {"winePrefix": homes.alone, "wineVersion": {"type": "wine"}}}, f)
    return prepare


CASES = [
    ("standard output and error closed", ["--unattended", "--prefix", "{alone}"], {}, (1, 2), None,
     1, "", "", (b"", ALL_BLOCKS)),
    ("all three standard descriptors closed", ["--unattended", "--prefix", "{alone}"], {}, (0, 1, 2), None,
     1, "", "", (b"", ALL_BLOCKS)),
    ("standard output closed", ["--unattended", "--prefix", "{alone}"], {}, (1,), None,
     1, "", "quillop: cannot write to standard output: it is closed", (b"", ALL_BLOCKS)),
    ("standard output closed, nothing to say", ["--unattended", "--quiet", "--prefix", "{alone}"], {}, (1,), None,
     0, "", "", (b"", ALL_BLOCKS)),
    ("a rerun over a Vorn file of the packaged size but other bytes", ["--unattended", "--prefix", "{alone}"], {},
     (), other_bytes_of_the_same_size, 5, "Prefix: {alone} (--prefix)", "",
     (b"", ALL_BLOCKS[ALL_BLOCKS.index(b"\r\n\r\nVornName:Pebbles"):])),
    ("the search in $XDG_DATA_HOME, not ~/.local/share", ["--unattended"], {"XDG_DATA_HOME": "{home}/data"}, (),
     None, 3, "Prefix: {home}/.wine (no prefix with Corvane found; the default)",
     "quillop: no Vorns folder: 'C:\\Program Files\\Corvane 5\\Vorns' does not hold Vorns.ctl", (b"", b"")),
    ("the search in $XDG_CONFIG_HOME, not ~/.config", ["--unattended"],
     {"XDG_DATA_HOME": "{home}/data", "XDG_CONFIG_HOME": "{home}/config"}, (), heroic_game_in("config"),
     0, "Prefix: {alone} (the one prefix with Corvane: heroic:Sketch)", "", (b"", ALL_BLOCKS)),
    ("the search finds the one prefix", ["--unattended"], {}, (), None,
     0, "Prefix: {found} (the one prefix with Corvane: winetricks:found)", "", (ALL_BLOCKS, b"")),
    ("$WINEPREFIX wins over the search", ["--unattended"], {"WINEPREFIX": "{alone}"}, (), None,
     0, "Prefix: {alone} ($WINEPREFIX)", "", (b"", ALL_BLOCKS)),
    ("--prefix by label wins over $WINEPREFIX", ["--unattended", "--prefix", "winetricks:found"],
     {"WINEPREFIX": "{alone}"}, (), None,
     0, "Prefix: {found} (--prefix: winetricks:found)", "", (ALL_BLOCKS, b"")),
    ("a relative $WINEPREFIX", ["--unattended"], {"WINEPREFIX": "relative/prefix"}, (), None,
     2, "", "quillop: $WINEPREFIX 'relative/prefix' is not an absolute path", (b"", b"")),
    ("$WINEPREFIX that is no prefix", ["--unattended"], {"WINEPREFIX": "{home}/none"}, (), None,
     2, "", "quillop: $WINEPREFIX '{home}/none': no such folder", (b"", b"")),
    ("--prefix that is a file", ["--unattended", "--prefix", "{home}/.local"], {}, (), None,
     2, "", "quillop: --prefix '{home}/.local': not a Wine prefix (no system.reg with drive_c or dosdevices)",
     (b"", b"")),
    ("an unknown label", ["--unattended", "--prefix", "bottles:Nope"], {}, (), None,
     2, "", "quillop: --prefix 'bottles:Nope' is neither a folder nor the label of a Wine prefix", (b"", b"")),
    ("a dry run", ["--unattended", "--dry-run", "--prefix", "{alone}"], {}, (), None,
     0, "Prefix: {alone} (--prefix)", "", (b"", b"")),
    ("a rerun", ["--unattended", "--prefix", "{alone}"], {}, (), run_twice_then(0),
     0, "Prefix: {alone} (--prefix)", "", (b"", ALL_BLOCKS)),
    ("a rerun after a stop between file and block", ["--unattended", "--prefix", "{alone}"], {}, (),
     run_twice_then(SHELLS_BLOCK), 0, "Prefix: {alone} (--prefix)", "", (b"", ALL_BLOCKS)),
    ("--quiet", ["--unattended", "--quiet", "--prefix", "{alone}"], {}, (), None, 0, "", "", (b"", ALL_BLOCKS)),
    ("conflicting options", ["--list-prefixes", "--unattended"], {}, (), None,
     2, "", "quillop: --list-prefixes and --unattended do not go together", (b"", b"")),
    ("an option given twice", ["--unattended", "--folder", "C:\\A", "--folder", "C:\\B"], {}, (), None,
     2, "", "quillop: --folder is given twice", (b"", b"")),
    ("an empty value", ["--unattended", "--folder", ""], {}, (), None,
     2, "", "quillop: --folder needs a value; it is empty", (b"", b"")),
    ("a value echoed with its newline escaped", ["--unattended", "--on-conflict", "ask\nme"], {}, (), None,
     2, "", "quillop: --on-conflict takes skip or rename, not 'ask\\nme'", (b"", b"")),
    ("a 100 kB value echoed shortened", ["--unattended", "--prefix", "/" + "x" * 100000], {}, (), None,
     2, "", "quillop: --prefix '/" + "x" * 79 + "'... (100001 bytes): File name too long", (b"", b"")),
    ("a 100 kB --folder shortened in its error", ["--unattended", "--prefix", "{alone}", "--folder",
                                                  "C:\\" + "x" * 100000], {}, (), None,
     3, "Prefix: {alone} (--prefix)",
     "quillop: no Vorns folder: 'C:\\" + "x" * 77 + "'... (100003 bytes) does not hold Vorns.ctl", (b"", b"")),
    ("--dry-run without --unattended", ["--dry-run"], {}, (), None,
     2, "", "quillop: --dry-run goes with --unattended", (b"", b"")),
    ("no display", [], {}, (), None,
     2, "", "quillop: no display to show the window on ($DISPLAY is not set); --unattended installs without a "
     "window", (b"", b"")),
]


def command_line_cases(quillop):
    for name, arguments, env, closed, prepare, code, out_line, err_line, controls in CASES:
        homes = Homes()
        try:
            fill = lambda text: text.replace("{alone}", homes.alone).replace("{found}", homes.found).replace(
                "{home}", homes.home)
            if prepare:
                prepare(quillop, homes)
            actual = run_child(quillop, [fill(a) for a in arguments], homes.home,
                               {k: fill(v) for k, v in env.items()}, closed)
            expect_equal(name, (actual[0], first_line(actual[1]), first_line(actual[2])),
                         (code, fill(out_line), fill(err_line)))
            expect_equal(name + ": Vorns.ctl in found and alone",
                         (homes.control(homes.found), homes.control(homes.alone)), controls)
        finally:
            homes.remove()


def snapshot(root):
    """Every entry below `root` by its bytes: kind, size and modification
    time, and the contents of plain files; nothing is opened but those."""
    entries = {}
    for folder, folders, files in os.walk(os.fsencode(root)):
        for name in folders + files:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            contents = None
            if stat.S_ISREG(info.st_mode) and info.st_blocks * 512 >= info.st_size:
                with open(path, "rb") as f:
                    contents = f.read()
            entries[path] = (stat.S_IFMT(info.st_mode), info.st_size, info.st_mtime_ns, contents)
    return entries


def replace_with(kind, relative):
    """Puts a FIFO, a link to /dev/zero or /dev/null, a 1 GB sparse file or a
    folder at `relative` below the alone prefix ("found/" below found)."""
    def prepare(homes):
        root, rest = (homes.found, relative[6:]) if relative.startswith("found/") else (homes.alone, relative)
        path = os.path.join(root, rest)
        if os.path.lexists(path):
            os.remove(path)
        if kind == "fifo":
            os.mkfifo(path)
        elif kind in ("zero", "null"):
            os.symlink("/dev/" + kind, path)
        elif kind == "sparse":
            with open(path, "wb") as f:
                f.truncate(1 << 30)
        else:
            os.mkdir(path)
    return prepare


def unreadable_registry(homes):
    os.chmod(os.path.join(homes.alone, "system.reg"), 0)
    for folder in (homes.home, homes.alone):
        os.chmod(folder, 0o755)


def read_only_vorns_folder(control_writable):
    """A Vorns folder only root may write in, as a deployment meets one under
    Program Files; its Vorns.ctl is nobody's when `control_writable`."""
    def prepare(homes):
        for folder in (homes.home, homes.alone):
            os.chmod(folder, 0o755)
        vorns = os.path.join(homes.alone, "drive_c/Corvane/Vorns")
        os.chmod(vorns, 0o555)
        if control_writable:
            os.chown(os.path.join(vorns, "Vorns.ctl"), 65534, -1)
    return prepare


def not_utf8(homes):
    """Renames found to a name ending in the byte 0xE9."""
    os.rename(os.fsencode(homes.found), os.fsencode(homes.found) + b"\xe9")


AS_NOBODY = ("setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--")
DRY_ALONE = ["--unattended", "--dry-run", "--prefix", "{alone}"]
INTO_ALONE = ["--unattended", "--prefix", "{alone}", "--folder", "C:\\Corvane\\Vorns"]
REGISTERED = "Vorns folder: c:\\Corvane\\Vorns\\ (Corvane's registration; {alone}/user.reg: %s)"
DEFAULT = "quillop: no Vorns folder: 'C:\\Program Files\\Corvane 5\\Vorns' does not hold Vorns.ctl; {alone}/%s"
STOPPED = "quillop: stopped %s: C:\\Corvane\\Vorns\\Vorns.ctl: %s"

# name, preparation, wrapper, arguments, environment, exit code, second line
# of standard output (None: not checked), first line of standard error.
ODD_FILES = [
    ("a FIFO as user.reg", replace_with("fifo", "user.reg"), (), DRY_ALONE, {}, 0,
     REGISTERED % "not a plain file (a FIFO)", ""),
    ("user.reg linked to /dev/zero", replace_with("zero", "user.reg"), (), DRY_ALONE, {}, 0,
     REGISTERED % "not a plain file (a character device)", ""),
    ("a 1 GB sparse user.reg", replace_with("sparse", "user.reg"), (), DRY_ALONE, {}, 0,
     REGISTERED % "larger than 128 MB", ""),
    ("a folder as user.reg", replace_with("folder", "user.reg"), (), DRY_ALONE, {}, 0,
     REGISTERED % "not a plain file (a folder)", ""),
    ("a FIFO as system.reg", replace_with("fifo", "system.reg"), (), DRY_ALONE, {}, 2, None,
     "quillop: --prefix '{alone}': not a Wine prefix: its system.reg is not a plain file (a FIFO)"),
    ("system.reg linked to /dev/zero", replace_with("zero", "system.reg"), (), DRY_ALONE, {}, 2, None,
     "quillop: --prefix '{alone}': not a Wine prefix: its system.reg is not a plain file (a character device)"),
    ("a 1 GB sparse system.reg", replace_with("sparse", "system.reg"), (), DRY_ALONE, {}, 3, None,
     DEFAULT % "system.reg: larger than 128 MB"),
    ("a folder as system.reg", replace_with("folder", "system.reg"), (), DRY_ALONE, {}, 2, None,
     "quillop: --prefix '{alone}': not a Wine prefix: its system.reg is not a plain file (a folder)"),
    ("an unreadable system.reg", unreadable_registry, AS_NOBODY, DRY_ALONE, {}, 3, None,
     DEFAULT % "system.reg: Permission denied"),
    ("the search past a FIFO as user.reg", replace_with("fifo", "found/user.reg"), (), ["--list-prefixes"], {}, 0,
     None, "quillop: {found}/user.reg: not a plain file (a FIFO) (passed over)"),
    ("a FIFO as a Vorn file", replace_with("fifo", "drive_c/Corvane/Vorns/Fern.vrn"), (), DRY_ALONE, {}, 5,
     None, ""),
    ("a Vorn file linked to /dev/zero", replace_with("zero", "drive_c/Corvane/Vorns/Fern.vrn"), (), DRY_ALONE, {},
     5, None, ""),
    ("a 1 GB sparse Vorn file", replace_with("sparse", "drive_c/Corvane/Vorns/Fern.vrn"), (), DRY_ALONE, {}, 5,
     None, ""),
    ("a folder as a Vorn file", replace_with("folder", "drive_c/Corvane/Vorns/Fern.vrn"), (), DRY_ALONE, {}, 5,
     None, ""),
    ("a FIFO as Vorns.ctl", replace_with("fifo", "drive_c/Corvane/Vorns/Vorns.ctl"), (), INTO_ALONE, {}, 1, None,
     STOPPED % ("before the first Vorn", "not a plain file (a FIFO)")),
    ("Vorns.ctl linked to /dev/zero", replace_with("zero", "drive_c/Corvane/Vorns/Vorns.ctl"), (), INTO_ALONE, {},
     1, None, STOPPED % ("before the first Vorn", "not a plain file (a character device)")),
    ("Vorns.ctl linked to /dev/null", replace_with("null", "drive_c/Corvane/Vorns/Vorns.ctl"), (), INTO_ALONE, {},
     1, None, STOPPED % ("before the first Vorn", "not a plain file (a character device)")),
    ("a 1 GB sparse Vorns.ctl", replace_with("sparse", "drive_c/Corvane/Vorns/Vorns.ctl"), (), INTO_ALONE, {}, 1,
     None, STOPPED % ("at Vorn 1 of 8", "larger than 64 MB")),
    ("a folder as Vorns.ctl", replace_with("folder", "drive_c/Corvane/Vorns/Vorns.ctl"), (), INTO_ALONE, {}, 1,
     None, STOPPED % ("before the first Vorn", "Is a directory")),
    ("a Vorns folder the user may not write", read_only_vorns_folder(False), AS_NOBODY, INTO_ALONE, {}, 1, None,
     STOPPED % ("before the first Vorn", "Permission denied")),
    ("a Vorns folder whose Vorns.ctl alone the user may write", read_only_vorns_folder(True), AS_NOBODY,
     INTO_ALONE, {}, 1, None, "quillop: stopped at Vorn 1 of 8: C:\\Corvane\\Vorns\\Fern.vrn: Permission denied"),
    ("a display that refuses the connection", None, (), [], {"DISPLAY": "{display}", "XAUTHORITY": "{home}/none"},
     2, None, "quillop: no display to show the window on (the display {display} refused the connection); "
     "--unattended installs without a window"),
    ("a display that refuses the connection, QT_QPA_PLATFORM=xcb", None, (), [],
     {"DISPLAY": "{display}", "XAUTHORITY": "{home}/none", "QT_QPA_PLATFORM": "xcb"},
     2, None, "quillop: no display to show the window on (the display {display} refused the connection); "
     "--unattended installs without a window"),
    ("a prefix whose name is not UTF-8, by the search", not_utf8, (), ["--unattended", "--dry-run"], {}, 0,
     "Vorns folder: c:\\Corvane\\Vorns\\ (Corvane's registration)", ""),
    ("a prefix whose name is not UTF-8, by --prefix", not_utf8, (), ["--unattended", "--dry-run", "--prefix", "{odd}"],
     {}, 0, "Vorns folder: c:\\Corvane\\Vorns\\ (Corvane's registration)", ""),
    ("a prefix whose name is not UTF-8, by $WINEPREFIX", not_utf8, (), ["--unattended", "--dry-run"],
     {"WINEPREFIX": "{odd}"}, 0, "Vorns folder: c:\\Corvane\\Vorns\\ (Corvane's registration)", ""),
]


class RefusingDisplay:
    """An X server that lets in only who holds its cookie."""

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="quillop-x-")
        cookie = os.path.join(self.folder, "cookie")
        self.secret = os.urandom(16)
        subprocess.run(["xauth", "-q", "-f", cookie, "add", ":0", ".", self.secret.hex()], check=True,
                       stderr=subprocess.DEVNULL)
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-auth", cookie, "-nolisten", "tcp"],
                                       pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as number:
            self.display = ":" + number.readline().strip()
        wait_until("the X server to let its cookie's holder in", self.lets_in_cookie_holder)
        return self

    def lets_in_cookie_holder(self):
        """Whether the server answers a connection setup with the cookie."""
        name = b"MIT-MAGIC-COOKIE-1"
        setup = struct.pack("<BxHHHHxx", 0x6C, 11, 0, len(name), len(self.secret)) + name + b"\0\0" + self.secret
        with socket.socket(socket.AF_UNIX) as connection:
            try:
                connection.connect("/tmp/.X11-unix/X" + self.display[1:])
                connection.sendall(setup)
                return connection.recv(1) == b"\1"
            except OSError:
                return False

    def __exit__(self, *exc):
        self.server.kill()
        self.server.wait()
        shutil.rmtree(self.folder)


def files_that_are_not_what_they_seem(quillop):
    with RefusingDisplay() as x:
        for name, prepare, wrapper, arguments, env, code, out_line, err_line in ODD_FILES:
            homes = Homes()
            try:
                odd = os.fsdecode(os.fsencode(homes.found) + b"\xe9")
                fill = lambda text: (text.replace("{alone}", homes.alone).replace("{found}", homes.found)
                                     .replace("{odd}", odd).replace("{home}", homes.home)
                                     .replace("{display}", x.display))
                if prepare:
                    prepare(homes)
                before = (snapshot(homes.home), snapshot(homes.alone))
                started = time.monotonic()
                actual = run_child(quillop, [fill(a) for a in arguments], homes.home,
                                   {k: fill(v) for k, v in env.items()}, wrapper=wrapper, timeout=20)
                took = time.monotonic() - started
                lines = actual[1].split("\n")
                expect_equal(name, (actual[0], first_line(actual[2])), (code, fill(err_line)))
                if out_line is not None:
                    expect_equal(name + ": the folder line", lines[1], fill(out_line))
                if took > 5:
                    raise TestFailure("%s: the run took %.1f s" % (name, took))
                if (snapshot(homes.home), snapshot(homes.alone)) != before:
                    raise TestFailure(name + ": something under the home or the prefix changed")
            finally:
                homes.remove()


def what_a_run_reports(quillop):
    homes = Homes()
    try:
        alone = ["--unattended", "--prefix", homes.alone]
        code, out, err = run_child(quillop, alone + ["--dry-run"], homes.home)
        expect_equal("a dry run's report", (code, out.splitlines()[1:4], err), (
            0, ["Vorns folder: c:\\Corvane\\Vorns\\ (Corvane's registration)", "Dry run: nothing is written.",
                "Fern: installed as Fern.vrn"], ""))
        expect_equal("files after a dry run", homes.vorn_files(homes.alone), [])
        run_twice_then(SHELLS_BLOCK)(quillop, homes)
        code, out, err = run_child(quillop, alone, homes.home)
        expect_equal("a rerun's report", (code, out.splitlines()[-3:]), (
            0, ["Snowflakes: already installed as Snowflakes.vrn",
                "Shells: record added for Shells.vrn (the file was already there)",
                "Done: 1 installed, 7 already installed, 0 skipped."]))

        # JSON stays whole when the run stops midway: here at the control file.
        os.remove(os.path.join(homes.found, "drive_c/Corvane/Vorns/Vorns.ctl"))
        os.makedirs(os.path.join(homes.found, "drive_c/Corvane/Vorns/Vorns.ctl/"))
        code, out, err = run_child(quillop, ["--unattended", "--json", "--prefix", homes.found, "--folder",
                                             "C:\\Corvane\\Vorns"], homes.home)
        expect_equal("a stopped run as JSON", (code, json.loads(out), err), (1, {
            "prefix": {"path": homes.found, "label": None, "from": "--prefix"},
            "folder": {"path": "C:\\Corvane\\Vorns", "from": "--folder", "problems": []},
            "dryRun": False, "vorns": [], "completed": False, "exitCode": 1,
            "error": "stopped before the first Vorn: C:\\Corvane\\Vorns\\Vorns.ctl: Is a directory"},
            "quillop: stopped before the first Vorn: C:\\Corvane\\Vorns\\Vorns.ctl: Is a directory\n"))

        # Output that cannot be written is an error of its own.
        with open("/dev/full", "wb") as full:
            code, out, err = run_child(quillop, ["--version"], homes.home, stdout=full)
        expect_equal("--version into a full disk", (code, err),
                     (1, "quillop: cannot write to standard output: No space left on device\n"))
        read_end, write_end = os.pipe()
        os.close(read_end)
        code, out, err = run_child(quillop, ["--list-prefixes"], homes.home, stdout=write_end)
        os.close(write_end)
        expect_equal("--list-prefixes into a closed pipe", (code, err),
                     (1, "quillop: cannot write to standard output: Broken pipe\n"))
    finally:
        homes.remove()


if __name__ == "__main__":
    run([("CommandLine.OptionsAndExitCodes", options_and_exit_codes),
         ("CommandLine.ListPrefixesAndSeveral", list_prefixes_and_several),
         ("CommandLine.UnattendedWritesWhatTheWindowWrites", unattended_writes_what_the_window_writes),
         ("CommandLine.Cases", command_line_cases),
         ("CommandLine.FilesThatAreNotWhatTheySeem", files_that_are_not_what_they_seem),
         ("CommandLine.WhatARunReports", what_a_run_reports)])

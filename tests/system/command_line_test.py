"""The command line: options and exit codes without a display, and
unattended runs that write byte for byte what the window's run writes."""

import json
import os
import shutil
import subprocess
import tempfile

from expected_texts import not_found_text
from desktop_session import (Prefix, Session, TestFailure, control, expect_equal, is_focused, run,
                             text_of, wait_until)

NAMES = ["Fern", "Pebbles", "Stars", "Raindrops", "Petals", "Bubbles", "Snowflakes", "Shells"]
HOST_CONTROL = b"\r\nVornName:Fern\r\nVornFile:Host.vrn\r\n\r\n"


def quillop_cli(quillop, arguments, home, env=None):
    """Runs quillop with no display; answers (exit code, stdout, stderr)."""
    environment = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "WINEPREFIX")}
    environment.update({"HOME": home, "XDG_DATA_HOME": "", "WINE_PREFIXES": "", "QT_QPA_PLATFORM": ""})
    environment.update(env or {})
    done = subprocess.run([quillop] + arguments, env=environment, capture_output=True, timeout=60, cwd=home)
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
        for text in ("--prefix <dir>", "--list-prefixes", "--json", "--folder <folder>", "--unattended",
                     "--on-conflict <skip|rename>", "5  the installation finished with some Vorns skipped"):
            if text not in out:
                raise TestFailure("--help does not show " + text)
        expect_equal("--version", quillop_cli(quillop, ["--version"], home)[:2], (0, "quillop 1.0.0\n"))
        for arguments in (["--bogus"], ["--unattended", "--on-conflict=maybe"], ["--json"],
                          ["--on-conflict=skip"], ["stray"], ["--prefix", home]):
            code, out, err = quillop_cli(quillop, arguments, home)
            expect_equal("exit of %s" % arguments, code, 2)
            if "Usage:" not in err or out:
                raise TestFailure("no usage text on standard error for %s" % arguments)

        prefix = Prefix()
        code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", prefix.root, "--folder", "C:\\Nope"], home)
        expect_equal("exit without a Vorns folder", code, 3)
        expect_equal("not-found text", err, not_found_text("C:\\Nope") + "\n")

        # A control file that is a folder cannot be opened: the run stops.
        os.makedirs(prefix.on_drive_c("Vorns/Vorns.ctl"))
        code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", prefix.root, "--folder", "C:\\Vorns",
                                               "--on-conflict", "rename"], home)
        expect_equal("a run that stops", (code, out, err), (1, "", "File error while installing vorn file 0 of 8.\n"))
        prefix.remove()
    finally:
        shutil.rmtree(home)


def list_prefixes_and_several(quillop):
    home = tempfile.mkdtemp()
    try:
        for name, registered in (("plain", False), ("paint", True), ("sketch", True)):
            prefix = os.path.join(home, ".local/share/wineprefixes", name)
            os.makedirs(os.path.join(prefix, "drive_c/Corvane/Vorns"))
            with open(os.path.join(prefix, "drive_c/Corvane/Vorns/Vorns.ctl"), "wb"):
                pass
            with open(os.path.join(prefix, "system.reg"), "w") as f:
                f.write("WINE REGISTRY Version 2\n")
                if registered:
                    f.write("[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1\n"
                            "@=\"C:\\\\Corvane\\\\Corvane.exe %1\"\n")
        code, out, err = quillop_cli(quillop, ["--list-prefixes", "--json"], home)
        expect_equal("--list-prefixes exit", code, 0)
        base = os.path.join(home, ".local/share/wineprefixes")
        expect_equal("--list-prefixes --json", json.loads(out), [
            {"source": "winetricks", "name": "paint", "path": base + "/paint", "vornsFolder": "c:\\Corvane\\Vorns\\"},
            {"source": "winetricks", "name": "plain", "path": base + "/plain", "vornsFolder": None},
            {"source": "winetricks", "name": "sketch", "path": base + "/sketch", "vornsFolder": "c:\\Corvane\\Vorns\\"},
        ])
        code, out, err = quillop_cli(quillop, ["--list-prefixes"], home)
        expect_equal("--list-prefixes", out.splitlines()[1], "winetricks: plain\t%s/plain\t(no Vorns folder)" % base)

        code, out, err = quillop_cli(quillop, ["--unattended"], home)
        expect_equal("exit with several prefixes", code, 4)
        expect_equal("the prefixes listed", err,
                     "quillop: Corvane is in several Wine prefixes; name one with --prefix:\n"
                     "  winetricks: paint\t%s/paint\n  winetricks: sketch\t%s/sketch\n" % (base, base))
        code, out, err = quillop_cli(quillop, ["--unattended", "--prefix", base + "/sketch"], home)
        expect_equal("a run found through the registration", (code, out), (0, ", ".join(NAMES) + ".\n"))
        if "Creating new Vorn file Fern(Fern.vrn)\n" not in err or "Done installing 8 vorn files.\n" not in err:
            raise TestFailure("the status texts are not on standard error: " + err)
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
                expect_equal("standard output", out, ", ".join(names) + ("." if names[-1] == "Shells" else "") + "\n")
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


if __name__ == "__main__":
    run([("CommandLine.OptionsAndExitCodes", options_and_exit_codes),
         ("CommandLine.ListPrefixesAndSeveral", list_prefixes_and_several),
         ("CommandLine.UnattendedWritesWhatTheWindowWrites", unattended_writes_what_the_window_writes)])

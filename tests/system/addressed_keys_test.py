"""Keys addressed to one window, as window automation sends them
(`xdotool key --window`): each acts on that window only, once. When a key
closes its window, its release is lost and the X server repeats the key into
whichever window takes the focus next; no later window may act on it. Each
key here stays down a while, as such a key does, and every state is checked
to hold meanwhile."""

import os
import tempfile
import time

from expected_texts import not_found_text, ready_text
from desktop_session import Session, TestFailure, control, expect_equal, find, is_enabled, run, text_of, wait_until
from throwaway_prefix import Prefix, registered_prefix

MAIN = "Ostrel Picture Vorn Installer"
CHOOSER = "Browse for Folder"
PREFIXES = "Choose the Wine prefix"
NAME = "Duplicate Vorn Name"

# Longer than the server's repeat delay, so a key stuck down repeats meanwhile.
STEADY_SECONDS = 1.5


def steady(session, what, probe):
    """`probe` holds now and for STEADY_SECONDS: nothing acts on its own."""
    wait_until(what, probe, process=session.process)
    deadline = time.monotonic() + STEADY_SECONDS
    while time.monotonic() < deadline:
        if not session.alive():
            raise TestFailure("quillop exited with status %d; expected %s" % (session.process.returncode, what))
        if not probe():
            raise TestFailure("no longer " + what)
        time.sleep(0.05)


def shown(session, title):
    return lambda: [w for w in session.windows() if w.name == title]


def status_is(session, expected):
    def probe():
        window = next((w for w in session.windows() if w.name == MAIN), None)
        status = window and find(window, "label", "Status")
        return status is not None and text_of(status) == expected
    return probe


def prompt_names(session, title, name):
    expected = "A Picture Vorn with the name \"%s\" already exists.\nPlease enter another name." % name

    def probe():
        window = next((w for w in session.windows() if w.name == title), None)
        prompt = window and find(window, "label")
        return prompt is not None and text_of(prompt) == expected
    return probe


def press_and_lift(session, title, keysym):
    session.key_down_in_window(title, keysym)
    return lambda: session.release_keys(keysym)


def escape_in_the_startup_chooser_cancels_only_that_chooser(quillop):
    prefix = Prefix()
    before = prefix.snapshot()
    try:
        with Session(quillop, prefix) as session:
            session.focused_window(CHOOSER)
            lift = press_and_lift(session, CHOOSER, "Escape")
            steady(session, "a second chooser", shown(session, CHOOSER))
            lift()
            session.focused_window(CHOOSER)
            lift = press_and_lift(session, CHOOSER, "Escape")
            steady(session, "the not-found text", status_is(session, not_found_text(
                "C:\\Program Files\\Corvane 5\\Vorns")))
            lift()
            install = control(session.window(MAIN), "push button", "Install Vorn Files")
            expect_equal("Install enabled", is_enabled(install), False)
        expect_equal("files in the prefix", prefix.snapshot(), before)
    finally:
        prefix.remove()


def return_in_the_prefix_choice_chooses_and_installs_nothing(quillop):
    prefixes = tempfile.mkdtemp(prefix="quillop-prefixes-")
    older, newer = Prefix(inside=prefixes), Prefix(inside=prefixes)
    for prefix, folder in ((older, "Corvane"), (newer, "Program Files\\Corvane 5")):
        prefix.write_file(folder.replace("\\", "/") + "/Vorns/Vorns.ctl", b"VornName:Host\r\n")
        prefix.register_host("C:\\%s\\CORVANE.EXE %%1" % folder)
    now = time.time()
    os.utime(os.path.join(older.root, "user.reg"), (now - 3600, now - 3600))
    before = {older.root: older.snapshot(), newer.root: newer.snapshot()}
    try:
        with Session(quillop, newer, extra_env={"WINEPREFIX": None, "WINE_PREFIXES": prefixes}) as session:
            session.focused_window(PREFIXES)
            lift = press_and_lift(session, PREFIXES, "Return")
            steady(session, "the found text for the newer prefix",
                   status_is(session, ready_text("c:\\Program Files\\Corvane 5\\Vorns\\")))
            lift()
            install = control(session.window(MAIN), "push button", "Install Vorn Files")
            expect_equal("Install enabled", is_enabled(install), True)
        expect_equal("files in both prefixes", {older.root: older.snapshot(), newer.root: newer.snapshot()}, before)
    finally:
        older.remove()
        newer.remove()
        os.rmdir(prefixes)


def return_in_a_conflict_dialog_answers_only_that_dialog(quillop):
    before = b"\r\nVornName:Fern\r\n\r\nVornName:Stars\r\n"
    prefix = registered_prefix(before)
    try:
        with Session(quillop, prefix) as session:
            session.focused_window(MAIN)
            lift = press_and_lift(session, MAIN, "Return")  # Install has the focus
            steady(session, "the name dialog for Fern", prompt_names(session, NAME, "Fern"))
            lift()
            session.focused_window(NAME)
            lift = press_and_lift(session, NAME, "Return")  # accepts Fern2
            steady(session, "the name dialog for Stars", prompt_names(session, NAME, "Stars"))
            lift()
            expect_equal("the control file while Stars waits",
                         prefix.read_file("Program Files/Corvane 5/Vorns/Vorns.ctl"),
                         before
                         + b"\r\n\r\nVornName:Fern2\r\nVornFile:Fern.vrn\r\nStepSize:240\r\nVornsAcross:4\r\n"
                         b"VornsDown:2\r\nVornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n"
                         b"\r\n\r\nVornName:Pebbles\r\nVornFile:Pebbles.vrn\r\nStepSize:200\r\nVornsAcross:5\r\n"
                         b"VornsDown:3\r\nVornPlacementMode:0\r\nVornSelectionMode:0\r\n\r\n")
            expect_equal("Vorn files while Stars waits",
                         sorted(os.listdir(prefix.on_drive_c("Program Files/Corvane 5/Vorns"))),
                         ["Fern.vrn", "Pebbles.vrn", "Vorns.ctl"])
    finally:
        prefix.remove()


def a_key_for_the_main_window_leaves_the_dialog_alone(quillop):
    before = b"\r\nVornName:Fern\r\n"
    prefix = registered_prefix(before)
    try:
        with Session(quillop, prefix) as session:
            session.focused_window(MAIN)
            session.key("Return")
            session.focused_window(NAME)
            # Sent to the main window, which does not hold the keyboard.
            lift = press_and_lift(session, MAIN, "Return")
            steady(session, "the name dialog for Fern", prompt_names(session, NAME, "Fern"))
            lift()
            expect_equal("the control file", prefix.read_file("Program Files/Corvane 5/Vorns/Vorns.ctl"), before)
    finally:
        prefix.remove()


if __name__ == "__main__":
    run([("AddressedKeys.EscapeInTheStartupChooserCancelsOnlyThatChooser",
          escape_in_the_startup_chooser_cancels_only_that_chooser),
         ("AddressedKeys.ReturnInThePrefixChoiceChoosesAndInstallsNothing",
          return_in_the_prefix_choice_chooses_and_installs_nothing),
         ("AddressedKeys.ReturnInAConflictDialogAnswersOnlyThatDialog",
          return_in_a_conflict_dialog_answers_only_that_dialog),
         ("AddressedKeys.AKeyForTheMainWindowLeavesTheDialogAlone",
          a_key_for_the_main_window_leaves_the_dialog_alone)])

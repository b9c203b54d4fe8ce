"""The main window as a user meets it: found through the registration,
Browse, both conflict dialogs, a locked control file, the About box, Exit."""

import fcntl
import os
import shutil
import struct
import tempfile

from expected_texts import not_found_text, ready_text
from desktop_session import (Session, TestFailure, control, descendants, expect_equal, find, find_all, is_enabled,
                             is_focused, press, run, set_text, text_of, wait_until)
from throwaway_prefix import Prefix, registered_prefix

MAIN = "Ostrel Picture Vorn Installer"
CHOOSER = "Browse for Folder"


def found_window(session):
    """The main window once it shows the found text with the focus on
    Install; answers the window and the Install button."""
    window = session.window(MAIN)
    status_becomes(window, session, lambda t: t.startswith("Thank"), "the found text")
    install = control(window, "push button", "Install Vorn Files")
    wait_until("the focus on Install", lambda: is_focused(install))
    return window, install


def status_becomes(window, session, predicate, what):
    status = control(window, "label", "Status")
    return wait_until(what, lambda: text_of(status) if predicate(text_of(status)) else None,
                      process=session.process)


def found_through_a_short_path_registration(quillop):
    prefix = registered_prefix()
    # $WINEPREFIX names the prefix even where the search would find exactly
    # one other with Corvane: ~/.wine, registered at C:\Other.
    home = tempfile.mkdtemp(prefix="quillop-home-")
    other = Prefix(inside=home)
    other.write_file("Other/Vorns/Vorns.ctl")
    other.register_host("C:\\Other\\Other.exe %1")
    os.rename(other.root, os.path.join(home, ".wine"))
    try:
        with Session(quillop, prefix, extra_env={"HOME": home}) as session:
            window = session.window(MAIN)
            text = status_becomes(window, session, lambda t: t.startswith("Thank"), "the found text")
            expect_equal("status", text, ready_text("c:\\Program Files\\Corvane 5\\Vorns\\"))
            install = control(window, "push button", "Install Vorn Files")
            wait_until("the focus on Install", lambda: is_focused(install))
            expect_equal("Browse enabled", is_enabled(control(window, "push button", "Browse...")), True)
            # Exit ends the program.
            session.key("alt+x")
            expect_equal("exit status", session.exited(), 0)
    finally:
        prefix.remove()
        shutil.rmtree(home)


def browse_to_a_folder_without_the_control_file_and_back(quillop):
    prefix = registered_prefix()
    prefix.make_folder("Empty")
    try:
        with Session(quillop, prefix) as session:
            window, install = found_window(session)
            session.key("alt+b")
            session.focused_window(CHOOSER)
            # From the selected Vorns folder: up to C:, then E for Empty.
            for key in ("Left", "Left", "Left", "Left", "e", "Return"):
                session.key(key)
            session.wait_closed(CHOOSER)
            text = status_becomes(window, session, lambda t: "cannot" in t, "the not-found text")
            expect_equal("status", text, not_found_text("C:\\Empty"))
            expect_equal("Install enabled", is_enabled(install), False)

            # Without a window manager nothing gives the main window the
            # keyboard back: Browse is pressed as a screen reader presses it.
            press(control(window, "push button", "Browse..."))
            session.focused_window(CHOOSER)
            for key in ("Up", "p", "Right", "Down", "Right", "Down", "Return"):
                session.key(key)
            session.wait_closed(CHOOSER)
            text = status_becomes(window, session, lambda t: "will be" in t, "the found text")
            expect_equal("status", text, ready_text("C:\\Program Files\\Corvane 5\\Vorns"))
            session.give_focus(MAIN)
            wait_until("Install enabled and focused", lambda: is_enabled(install) and is_focused(install))
    finally:
        prefix.remove()


def both_conflict_dialogs(quillop):
    """Names typed beyond ASCII: stored in cp1252 as Corvane reads them, a
    name Corvane listed in cp1252 met as taken, and "Жук", which cp1252
    cannot hold, refused with a word on which character."""
    before = (b"\r\nVornName:Fern\r\nVornFile:Host.vrn\r\n\r\nVornName:Stars\r\n\r\nVornName:Petals\r\n"
              b"\r\nVornName:Foug\xe8re\r\n")
    prefix = registered_prefix(before)
    prefix.write_file("Program Files/Corvane 5/Vorns/Pebbles.vrn", b"host's own")
    try:
        with Session(quillop, prefix) as session:
            window, install = found_window(session)
            session.key("Return")  # Install has the focus
            name = session.focused_window("Duplicate Vorn Name")
            prompt = wait_until("the prompt", lambda: find(name, "label"))
            expect_equal("the name prompt", text_of(prompt),
                         "A Picture Vorn with the name \"Fern\" already exists.\nPlease enter another name.")
            expect_equal("the proposal", text_of(control(name, "text", "New name")), "Fern2")
            session.key("Return")  # Enter accepts the proposal
            files = session.focused_window("Duplicate File Name")
            expect_equal("the proposal", text_of(control(files, "text", "New name")), "Pebbles2.vrn")
            set_text(control(files, "text", "New name"), "  Fougère new  ")
            session.key("Return")
            session.focused_window("Duplicate Vorn Name")
            session.key("Escape")  # Stars: Skip

            name = session.focused_window("Duplicate Vorn Name")
            field = control(name, "text", "New name")
            wait_until("the proposal for Petals", lambda: text_of(field) == "Petals2")
            set_text(field, "Жук")
            session.key("Return")
            refusal = session.focused_window("Quillop")
            expect_equal("the refusal", [c.name for c in descendants(refusal) if c.getRoleName() == "label" and c.name],
                         ["The character \"Ж\" cannot be stored in Vorns.ctl, where Corvane lists its Vorns.\n"
                          "Please enter a name without it."])
            session.key("Return")
            session.wait_closed("Quillop")
            wait_until("the refused name, kept, with the keyboard", lambda: is_focused(field) and text_of(field) == "Жук")
            set_text(field, "Fougère")
            session.key("Return")
            # Corvane listed Fougère in cp1252: taken, and asked again.
            wait_until("the proposal after Fougère",
                       lambda: any(text_of(f) == "Fougère2" for w in session.windows()
                                   if w.name == "Duplicate Vorn Name" for f in find_all(w, "text", "New name")))
            session.focused_window("Duplicate Vorn Name")
            session.key("Return")
            text = status_becomes(window, session, lambda t: t.startswith("Done"), "the done text")
            expect_equal("done text", text,
                         "Done installing 7 vorn files.\nFern2, Pebbles, Raindrops, Fougère2, Bubbles, Snowflakes, "
                         "Shells.\n\nPress the Exit button to exit.\n\n\nEnjoy your quenna!  ")
            expect_equal("Install enabled", is_enabled(control(window, "push button", "Install Vorn Files")), False)
        control_bytes = prefix.read_file("Program Files/Corvane 5/Vorns/Vorns.ctl")
        if not control_bytes.startswith(before):
            raise TestFailure("the control file's earlier bytes changed")
        if b"\r\n\r\n\r\nVornName:Fern2\r\nVornFile:Fern.vrn\r\n" not in control_bytes:
            raise TestFailure("no block for Fern2")
        if b"VornName:Pebbles\r\nVornFile:  Foug\xe8re new  .vrn\r\n" not in control_bytes:
            raise TestFailure("the typed file name was not kept exactly, in cp1252")
        if b"VornName:Foug\xe8re2\r\nVornFile:Petals.vrn\r\n" not in control_bytes:
            raise TestFailure("the typed Vorn name was not stored in cp1252")
        if b"VornName:Stars\r\nVornFile" in control_bytes:
            raise TestFailure("the skipped Vorn has a block")
        expect_equal("the host's file", prefix.read_file("Program Files/Corvane 5/Vorns/Pebbles.vrn"), b"host's own")
        expect_equal("the typed file exists, named in UTF-8",
                     os.path.exists(prefix.on_drive_c("Program Files/Corvane 5/Vorns/  Fougère new  .vrn")), True)
    finally:
        prefix.remove()


def a_control_file_locked_by_another_process(quillop):
    prefix = registered_prefix()
    path = prefix.on_drive_c("Program Files/Corvane 5/Vorns/Vorns.ctl")
    holder = os.open(path, os.O_RDWR)
    F_OFD_SETLK = 37
    fcntl.fcntl(holder, F_OFD_SETLK, struct.pack("hhqqi", fcntl.F_WRLCK, 0, 0, 0, 0))
    try:
        with Session(quillop, prefix) as session:
            window, install = found_window(session)
            session.key("Return")
            text = status_becomes(window, session, lambda t: "error" in t, "the error text")
            expect_equal("status", text, "File error while installing vorn file 0 of 8.")
            expect_equal("Install enabled", is_enabled(control(window, "push button", "Install Vorn Files")), True)
            expect_equal("Browse enabled", is_enabled(control(window, "push button", "Browse...")), False)
        expect_equal("nothing written", sorted(os.listdir(os.path.dirname(path))), ["Vorns.ctl"])
    finally:
        os.close(holder)
        prefix.remove()


def the_about_box_from_the_window_menu(quillop):
    prefix = registered_prefix()
    try:
        with Session(quillop, prefix) as session:
            window, install = found_window(session)
            session.key("shift+F10")
            session.key("a")
            about = session.focused_window("About Vorn Installer")
            expect_equal("the About text",
                         [c.name for c in descendants(about) if c.getRoleName() == "label"][-1],
                         "Picture Vorn Collection Installer")
            session.key("Return")
            session.wait_closed("About Vorn Installer")
            expect_equal("still running", session.alive(), True)
    finally:
        prefix.remove()


def in_german(quillop):
    """With LANGUAGE=de: the window, both conflict dialogs, the done text and
    the About box in German."""
    prefix = registered_prefix(b"\r\nVornName:Fern\r\nVornFile:Host.vrn\r\n")
    prefix.write_file("Program Files/Corvane 5/Vorns/Pebbles.vrn", b"host's own")
    try:
        with Session(quillop, prefix, extra_env={"LANGUAGE": "de"}) as session:
            window = session.window("Ostrel Bild-Vorn-Installation")
            text = status_becomes(window, session, lambda t: t.startswith("Vielen"), "the found text")
            expect_equal("status", text,
                         "Vielen Dank, dass Sie die Bild-Vorn-Sammlung Quenna heruntergeladen haben.  \n\n"
                         "Die Quenna-Vorns werden in das Verzeichnis\n    \"c:\\Program Files\\Corvane 5\\Vorns\\\"\n"
                         "installiert.\n\nKlicken Sie auf \u201eDurchsuchen\u201c, um ein anderes Verzeichnis zu "
                         "w\u00e4hlen, oder auf \u201eVorn-Dateien installieren\u201c, um mit der Installation zu "
                         "beginnen.  ")
            expect_equal("the buttons", [b.name for b in find_all(window, "push button")],
                         ["Vorn-Dateien installieren", "Durchsuchen...", "Beenden"])
            session.key("alt+i")
            name = session.focused_window("Vorn-Name bereits vorhanden")
            prompt = wait_until("the prompt", lambda: find(name, "label"))
            expect_equal("the name prompt", text_of(prompt),
                         "Ein Bild-Vorn namens \"Fern\" ist bereits vorhanden.\n"
                         "Bitte geben Sie einen anderen Namen ein.")
            expect_equal("its buttons", [b.name for b in find_all(name, "push button")],
                         ["Speichern", "\u00dcberspringen"])
            session.key("alt+s")
            files = session.focused_window("Dateiname bereits vorhanden")
            expect_equal("the file prompt", text_of(wait_until("the prompt", lambda: find(files, "label"))),
                         "Eine Bild-Vorn-Datei namens \"Pebbles.vrn\" ist bereits vorhanden.\n"
                         "Bitte geben Sie einen anderen Namen ein.")
            session.key("alt+b")  # \u00dc&berspringen: skip Pebbles
            text = status_becomes(window, session, lambda t: "installiert" in t and "Freude" in t, "the done text")
            expect_equal("done text", text,
                         "7 Vorn-Dateien wurden installiert.\nFern2, Stars, Raindrops, Petals, Bubbles, Snowflakes, "
                         "Shells.\n\nKlicken Sie auf \u201eBeenden\u201c, um das Programm zu schlie\u00dfen.\n\n\n"
                         "Viel Freude mit Quenna!  ")
            session.key("shift+F10")
            session.key("i")
            about = session.focused_window("Info \u00fcber Vorn-Installer")
            expect_equal("the About text", [c.name for c in descendants(about) if c.getRoleName() == "label"][-1],
                         "Installation der Bild-Vorn-Sammlung")
            session.key("Return")
            session.wait_closed("Info \u00fcber Vorn-Installer")
            press(control(window, "push button", "Beenden"))
            expect_equal("exit status", session.exited(), 0)
    finally:
        prefix.remove()


if __name__ == "__main__":
    run([("Window.FoundThroughAShortPathRegistration", found_through_a_short_path_registration),
         ("Window.BrowseToAFolderWithoutTheControlFileAndBack", browse_to_a_folder_without_the_control_file_and_back),
         ("Window.BothConflictDialogs", both_conflict_dialogs),
         ("Window.AControlFileLockedByAnotherProcess", a_control_file_locked_by_another_process),
         ("Window.TheAboutBoxFromTheWindowMenu", the_about_box_from_the_window_menu),
         ("Window.InGerman", in_german)])

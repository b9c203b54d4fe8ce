"""Start-up on a prefix where Corvane's registration leads nowhere: the
folder chooser opens, and cancelling it must never end the program."""

from expected_texts import not_found_text, ready_text
from desktop_session import (TestFailure, Session, control, expect_equal, is_enabled, is_focused, run, text_of,
                             wait_until)
from throwaway_prefix import Prefix

MAIN = "Ostrel Picture Vorn Installer"
CHOOSER = "Browse for Folder"
PROMPT = "Choose the Vorns folder.  This should be a folder in the Corvane folder named Vorns."


def chooser_window(session):
    """Waits for the chooser to be shown, with its prompt, and to hold the
    keyboard focus."""
    window = session.focused_window(CHOOSER)
    expect_equal("the chooser's prompt", text_of(control(window, "label", "Prompt")), PROMPT)
    return window


def status_of(session):
    window = session.window(MAIN)
    return window, control(window, "label", "Status")


def cancel_twice_leaves_the_not_found_text(quillop):
    prefix = Prefix()
    try:
        with Session(quillop, prefix) as session:
            chooser_window(session)
            session.key("Escape")
            # The program must still be running, with a second chooser.
            chooser_window(session)
            if not session.alive():
                raise TestFailure("quillop ended after the first cancel")
            session.key("Escape")
            window, status = status_of(session)
            expect_equal("status text",
                         wait_until("the not-found text", lambda: text_of(status) or None, process=session.process),
                         not_found_text("C:\\Program Files\\Corvane 5\\Vorns"))
            expect_equal("Install enabled", is_enabled(control(window, "push button", "Install Vorn Files")),
                         False)
            browse = control(window, "push button", "Browse...")
            wait_until("the focus on Browse", lambda: is_focused(browse))
            # Still there a moment later: the window does not vanish.
            session.window(MAIN, timeout=1)
            expect_equal("quillop still running", session.alive(), True)
    finally:
        prefix.remove()


def cancel_then_choose_a_good_folder(quillop):
    prefix = Prefix()
    prefix.write_file("Vorns/Vorns.ctl")
    try:
        with Session(quillop, prefix) as session:
            chooser_window(session)
            session.key("Escape")
            chooser_window(session)
            # C: is selected, as the default folder's nearest existing
            # ancestor: open it, go to Vorns by its first letter, choose it.
            session.key("Right")
            session.key("v")
            session.key("Return")
            window, status = status_of(session)
            expect_equal("status text",
                         wait_until("the found text", lambda: text_of(status) or None, process=session.process),
                         ready_text("C:\\Vorns"))
            install = control(window, "push button", "Install Vorn Files")
            expect_equal("Install enabled", is_enabled(install), True)
            wait_until("the focus on Install", lambda: is_focused(install))
    finally:
        prefix.remove()


if __name__ == "__main__":
    run([("StartupChooser.CancelTwiceLeavesTheNotFoundText", cancel_twice_leaves_the_not_found_text),
         ("StartupChooser.CancelThenChooseAGoodFolder", cancel_then_choose_a_good_folder)])

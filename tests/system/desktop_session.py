"""Runs the real quillop executable in a desktop session and reads and
presses what a person sees through the accessibility tree (AT-SPI), as a
screen reader does.

A test script is started inside `dbus-run-session`; this module starts its
own Xvfb server, launches quillop on a throwaway Wine-style prefix with
Qt's accessibility bridge switched on, and offers waiting, reading and
pressing helpers. Keys are real X key events sent with xdotool.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 20.0


def pump_events():
    """Lets the accessibility library take in the bus's news (applications
    that came or went, changed texts and states): it only reads them while
    its main context runs."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


class TestFailure(Exception):
    pass


def wait_until(what, probe, timeout=TIMEOUT, process=None):
    """Polls `probe` until it answers something true; fails naming `what`,
    at once when `process` has ended meanwhile."""
    deadline = time.monotonic() + timeout
    while True:
        if process is not None and process.poll() is not None:
            raise TestFailure("quillop exited with status %d while waiting for %s"
                              % (process.returncode, what))
        pump_events()
        try:
            answer = probe()
        except Exception:  # the tree changes under us while windows come and go
            answer = None
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise TestFailure("timed out waiting for " + what)
        time.sleep(0.05)


def expect_equal(what, actual, expected):
    if actual != expected:
        raise TestFailure("%s:\n  expected %r\n  actual   %r" % (what, expected, actual))


# --- the desktop session -------------------------------------------------------

class Session:
    """Xvfb and one quillop process on `prefix`; use as a context manager."""

    def __init__(self, quillop, prefix, extra_env=None, arguments=()):
        self.quillop = quillop
        self.prefix = prefix
        self.extra_env = extra_env or {}
        self.arguments = list(arguments)
        self.xvfb = None
        self.process = None
        self.home = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            self.display = ":" + f.readline().strip()
        self.home = tempfile.mkdtemp(prefix="quillop-home-")
        env = dict(os.environ)
        env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "WINEPREFIX": self.prefix.root,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
        })
        env.update(self.extra_env)
        env = {name: value for name, value in env.items() if value is not None}
        self.env = env
        self.process = subprocess.Popen([self.quillop] + self.arguments, env=env, cwd=self.home)
        try:
            self.app = wait_until("quillop on the accessibility bus", self._find_application,
                                  process=self.process)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        shutil.rmtree(self.home, ignore_errors=True)
        return False

    def _find_application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    # Windows and controls

    def windows(self):
        """The application's top-level windows that are shown now."""
        return [w for w in (self.app.getChildAtIndex(i) for i in range(self.app.childCount))
                if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]

    def window(self, title, timeout=TIMEOUT):
        """Waits until a window with this title is shown and answers it."""
        return wait_until("the window " + repr(title),
                          lambda: next((w for w in self.windows() if w.name == title), None),
                          timeout, self.process)

    def focused_window(self, title):
        """Waits until a window with this title is shown and holds the
        keyboard focus, and answers it."""
        window = self.window(title)
        wait_until("the keyboard focus in " + title, lambda: any(is_focused(c) for c in descendants(window)),
                   process=self.process)
        return window

    def wait_closed(self, title, timeout=TIMEOUT):
        wait_until("the window " + repr(title) + " to close",
                   lambda: all(w.name != title for w in self.windows()), timeout)

    def exited(self, timeout=TIMEOUT):
        """Waits for the process to end and answers its exit status."""
        deadline = time.monotonic() + timeout
        while self.process.poll() is None:
            if time.monotonic() > deadline:
                raise TestFailure("quillop did not exit")
            time.sleep(0.05)
        return self.process.returncode

    def alive(self):
        return self.process.poll() is None

    # Keys go to whichever window has the keyboard focus, as a user's would.

    def key(self, keysym):
        subprocess.run(["xdotool", "key", "--clearmodifiers", keysym], env=self.env, check=True)

    def key_down_in_window(self, title, keysym):
        """Presses a key addressed to one window of ours, as window automation
        does (`xdotool key --window`): a real key event when that window holds
        the focus, else one sent to it. The key stays down until release_keys,
        as it does when the key closes its window and xdotool's release finds
        no window to go to: the server then repeats it into the next one."""
        window_id = subprocess.run(
            ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name", "^%s$" % title],
            env=self.env, check=True, timeout=10, capture_output=True, text=True).stdout.split()[0]
        subprocess.run(["xdotool", "keydown", "--window", window_id, keysym], env=self.env, check=True, timeout=10)

    def release_keys(self, *keysyms):
        subprocess.run(["xdotool", "keyup"] + list(keysyms), env=self.env, check=True, timeout=10)

    def give_focus(self, title):
        """Gives the keyboard to a window of ours, as a window manager does
        when a dialog above it closes (Xvfb has none)."""
        subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid), "--name",
                        "^%s$" % title, "windowfocus", "--sync"], env=self.env, check=True, timeout=10)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], env=self.env, check=True)


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def find(root, role, name=None):
    """The first descendant with this role name (and accessible name)."""
    matches = find_all(root, role, name)
    return matches[0] if matches else None


def find_all(root, role, name=None):
    found = []

    def walk(node):
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is None:
                continue
            if child.getRoleName() == role and (name is None or child.name == name):
                found.append(child)
            walk(child)

    walk(root)
    return found


def control(window, role, name):
    return wait_until("%s %r in %r" % (role, name, window.name), lambda: find(window, role, name))


def text_of(accessible):
    """The text a control shows. Qt exposes a named label's text as its
    description; editable fields have a text interface."""
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return accessible.description
    return text.getText(0, text.characterCount)


def set_text(accessible, text):
    """Puts text into an editable field as an accessibility client does (an
    on-screen keyboard, input tools): any character, none through X's
    keyboard map."""
    if not accessible.queryEditableText().setTextContents(text):
        raise TestFailure("the field refused the text %r" % text)


def is_enabled(accessible):
    return accessible.getState().contains(pyatspi.STATE_ENABLED)


def is_focused(accessible):
    return accessible.getState().contains(pyatspi.STATE_FOCUSED)


def press(accessible):
    """Presses a button through its accessible action, as a screen reader does."""
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def run(tests):
    """Runs test functions given as (name, function) pairs; exits non-zero on
    the first failure. The quillop executable is the first argument."""
    quillop = os.path.abspath(sys.argv[1])
    only = sys.argv[2:] or None
    failed = 0
    for name, test in tests:
        if only and name not in only:
            continue
        started = time.monotonic()
        try:
            test(quillop)
        except TestFailure as failure:
            failed += 1
            print("FAIL %s (%.1f s): %s" % (name, time.monotonic() - started, failure), flush=True)
            continue
        print("ok   %s (%.1f s)" % (name, time.monotonic() - started), flush=True)
    sys.exit(1 if failed else 0)

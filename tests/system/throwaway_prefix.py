"""Throwaway Wine-style prefixes and the environment of a quillop run
without a display, for every system test (none of it needs a desktop)."""

import os
import shutil
import tempfile


def headless_environment(home, extra=None, dropped=()):
    """This process's environment for a quillop run without a display, at
    home in `home`, with `extra` added and the variables `dropped` left out."""
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("DISPLAY", "WAYLAND_DISPLAY") + tuple(dropped)}
    environment["HOME"] = home
    environment.update(extra or {})
    return environment


class Prefix:
    """A Wine-style prefix in a temporary folder (or at `root`): drive_c,
    dosdevices with c: linked as Wine links it, and empty registry files."""

    def __init__(self, inside=None, root=None):
        self.root = root or tempfile.mkdtemp(prefix="quillop-system-", dir=inside)
        os.makedirs(os.path.join(self.root, "drive_c"))
        os.makedirs(os.path.join(self.root, "dosdevices"))
        os.symlink("../drive_c", os.path.join(self.root, "dosdevices", "c:"))
        self.write_registry("system.reg", "")
        self.write_registry("user.reg", "")

    def on_drive_c(self, relative):
        return os.path.join(self.root, "drive_c", relative)

    def make_folder(self, relative):
        os.makedirs(self.on_drive_c(relative), exist_ok=True)

    def write_file(self, relative, data=b""):
        path = self.on_drive_c(relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def read_file(self, relative):
        with open(self.on_drive_c(relative), "rb") as f:
            return f.read()

    def write_registry(self, name, sections):
        with open(os.path.join(self.root, name), "w", encoding="utf-8", newline="\n") as f:
            f.write("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n")
            f.write(sections)

    def register_host(self, command):
        escaped = command.replace("\\", "\\\\").replace('"', '\\"')
        self.write_registry(
            "system.reg",
            "[Software\\\\Classes\\\\CRV5.Image\\\\shell\\\\open\\\\command] 1765000000\n"
            "#time=1dc5f3b2a4c8e10\n@=\"%s\"\n" % escaped)

    def snapshot(self):
        """Every file below the prefix with its bytes, to tell what a run wrote."""
        files = {}
        for folder, _, names in os.walk(self.root):
            for name in names:
                path = os.path.join(folder, name)
                if not os.path.islink(path):
                    with open(path, "rb") as f:
                        files[os.path.relpath(path, self.root)] = f.read()
        return files

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


def registered_prefix(control=b""):
    """A prefix with Corvane in C:\\Program Files\\Corvane 5, registered by its
    short path, whose Vorns folder holds `control` as Vorns.ctl."""
    prefix = Prefix()
    prefix.write_file("Program Files/Corvane 5/Vorns/Vorns.ctl", control)
    prefix.write_file("Program Files/Corvane 5/CORVANE.EXE", b"")
    prefix.register_host("C:\\PROGRA~1\\CORVAN~1\\CORVANE.EXE %1")
    return prefix

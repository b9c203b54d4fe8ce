#!/usr/bin/env python3
"""Fails when an include breaks the layering; prints the include graph
between layers, with how many includes each arrow stands for.

The layers, lowest first: platform <- res <- payload <- host, install <- app
<- cli, and the programs on top (linux/ and windows/: each program's entry
and target). A layer may include its own files and those of any layer
below it; host, install and prefixes include none of the others.

What runs where:
- linux/ holds what only Linux has: the Wine prefixes (linux/prefixes,
  beside host) and the Linux program with its Wine-prefix options. Only
  linux/ includes the prefixes. cli, the command line, is both programs'.
- windows/ is the Windows program.
- Inside platform/, each backend has its folder (platform/linux/,
  platform/windows/): no backend includes another's, and the shared headers
  and code directly in platform/ include no backend.
- Above platform/ only the Linux-only parts include the toolkit (Qt), a
  backend's own headers or a system's (<windows.h>, <unistd.h>, ...), and
  the Windows program <windows.h> and its backend: the rest is the same
  source on every platform.
"""

import collections
import pathlib
import re
import sys

RANK = {"platform": 0, "res": 1, "payload": 2, "host": 3, "install": 3, "prefixes": 3, "app": 4, "cli": 5,
        "linux": 6, "windows": 6}
LINUX_ONLY = ("prefixes", "linux")
BACKENDS = ("linux", "windows")
SYSTEM = re.compile(r'^\s*#\s*include\s+<((?:windows|winbase|winreg|shlobj|commctrl|unistd|fcntl|dirent|dlfcn|'
                    r'pwd)\.h|sys/[\w/]+\.h|xcb/[\w/]+\.h)>', re.MULTILINE)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
TOOLKIT = re.compile(r'^\s*#\s*include\s+<(Q\w+)>', re.MULTILINE)


def layer_of(parts):
    """The layer a file (or an included header) belongs to, from its path
    below src/: linux/prefixes/ is the prefixes layer, the rest of linux/
    the Linux program."""
    if parts[0] == "linux" and len(parts) > 2 and parts[1] == "prefixes":
        return "prefixes"
    return parts[0]


def backend_of(parts):
    """platform/linux/... and platform/windows/... name their backend;
    files directly in platform/ are shared (None)."""
    if parts[0] == "platform" and len(parts) > 2 and parts[1] in BACKENDS:
        return parts[1]
    return None


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    arrows = collections.Counter()
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        parts = path.relative_to(src).parts
        layer = layer_of(parts)
        backend = backend_of(parts)
        text = path.read_text(encoding="utf-8")
        includes = INCLUDE.findall(text)
        if layer not in ("platform",) + LINUX_ONLY:
            for header in TOOLKIT.findall(text):
                faults.append("%s (%s) includes the toolkit's <%s>" % (path, layer, header))
            for header in SYSTEM.findall(text):
                if not (layer == "windows" and header == "windows.h"):
                    faults.append("%s (%s) includes the system's <%s>" % (path, layer, header))
            for included in includes:
                other = backend_of(included.split("/"))
                if other and not (layer == "windows" and other == "windows"):
                    faults.append("%s (%s) includes a backend's \"%s\"" % (path, layer, included))
        if layer == "platform":
            for included in includes:
                other = backend_of(included.split("/"))
                if other and backend is None:
                    faults.append("%s (shared platform) includes the %s backend's \"%s\"" % (path, other, included))
                elif other and other != backend:
                    faults.append("%s (%s backend) includes the %s backend's \"%s\"" % (path, backend, other,
                                                                                     included))
        for included in includes:
            target_parts = included.split("/")
            target = layer_of(target_parts)
            if len(target_parts) < 2 or target not in RANK:
                faults.append("%s: \"%s\" does not name its folder from src/" % (path, included))
                continue
            if target == layer:
                continue
            if target == "prefixes" and layer not in LINUX_ONLY:
                faults.append("%s (%s) includes the Linux-only %s" % (path, layer, included))
            arrows[(layer, target)] += 1
            if RANK[target] >= RANK[layer]:
                faults.append("%s (%s) includes %s (%s)" % (path, layer, included, target))
    for (source, target), count in sorted(arrows.items(), key=lambda a: (-RANK[a[0][0]], a[0])):
        print("%-8s -> %-8s %3d" % (source, target, count))
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

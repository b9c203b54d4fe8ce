#!/usr/bin/env python3
"""Fails when a file of a lower layer includes one of a higher layer.

The layers, lowest first: platform <- res <- payload <- host, install <- app,
with two Linux-only features beside them: prefixes (beside host) and cli (on
top). A layer may include its own files and those of any layer below it;
host, install and prefixes include none of the others. Prints the include
graph between layers, with how many includes each arrow stands for.

Above the platform layer only the Linux-only features include the toolkit
(Qt), a backend's own headers (platform/linux/, platform/windows/,
platform/qt/) or a system's (<windows.h>, <unistd.h>, ...), and only cli
includes prefixes: the rest is the same source for every platform.
"""

import collections
import pathlib
import re
import sys

RANK = {"platform": 0, "res": 1, "payload": 2, "host": 3, "install": 3, "prefixes": 3, "app": 4, "cli": 5}
LINUX_ONLY = ("prefixes", "cli")
SYSTEM = re.compile(r'^\s*#\s*include\s+<((?:windows|winbase|winreg|shlobj|commctrl|unistd|fcntl|dirent|dlfcn|'
                    r'pwd)\.h|sys/[\w/]+\.h|xcb/[\w/]+\.h)>', re.MULTILINE)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
TOOLKIT = re.compile(r'^\s*#\s*include\s+<(Q\w+)>', re.MULTILINE)


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    arrows = collections.Counter()
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        layer = path.relative_to(src).parts[0]
        text = path.read_text(encoding="utf-8")
        if layer != "platform" and layer not in LINUX_ONLY:
            for header in TOOLKIT.findall(text):
                faults.append("%s (%s) includes the toolkit's <%s>" % (path, layer, header))
            for header in SYSTEM.findall(text):
                faults.append("%s (%s) includes the system's <%s>" % (path, layer, header))
            for included in INCLUDE.findall(text):
                if included.startswith(("platform/linux/", "platform/windows/", "platform/qt/")):
                    faults.append("%s (%s) includes a backend's \"%s\"" % (path, layer, included))
        for included in INCLUDE.findall(text):
            target = included.split("/")[0]
            if "/" not in included or target not in RANK:
                faults.append("%s: \"%s\" does not name its folder from src/" % (path, included))
                continue
            if target == layer:
                continue
            if target == "prefixes" and layer != "cli":
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

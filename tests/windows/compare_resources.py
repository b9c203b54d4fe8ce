#!/usr/bin/env python3
"""Reads the resources of Windows programs without running them and fails
unless they hold the same ones, byte for byte: the 32-bit build, which no
machine here runs, against the 64-bit one that runs under Wine. Prints what
each holds.

  compare_resources.py <program.exe> <program.exe>"""

import sys

import pefile

# What the program must carry, as (type, name): the four dialogs, the icon,
# the string table's three blocks of sixteen (ids 101-118, 1000-1002) and
# the catalogue.
REQUIRED = {("5", "100"), ("5", "102"), ("5", "144"), ("5", "145"), ("14", "128"),
            ("6", "7"), ("6", "8"), ("6", "63"), ("NUM_VORNS", "IDR_NUM_VORNS")}
REQUIRED |= {(kind, "IDR_%s%d" % (kind, n)) for kind in ("CTL", "VRN") for n in range(1, 9)}


def resources(path):
    """{(type, name, language): bytes} of a PE file."""
    pe = pefile.PE(path)
    found = {}
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in root.entries if root else []:
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                data = language.data.struct
                key = (str(kind.name or kind.id), str(entry.name or entry.id), language.id)
                found[key] = pe.get_data(data.OffsetToData, data.Size)
    kind = "PE32+" if pe.OPTIONAL_HEADER.Magic == 0x20B else "PE32"
    return kind, found


def main():
    (first_kind, first), (second_kind, second) = (resources(path) for path in sys.argv[1:3])
    print("%s %s: %d resources; %s %s: %d resources" % (first_kind, sys.argv[1], len(first),
                                                        second_kind, sys.argv[2], len(second)))
    missing = REQUIRED - {(kind, name) for kind, name, _ in first}
    if missing:
        print("FAIL: missing %s" % sorted(missing))
        return 1
    if first != second:
        for key in sorted(set(first) | set(second)):
            if first.get(key) != second.get(key):
                print("FAIL: %s differs" % (key,))
        return 1
    for (kind, name, language), data in sorted(first.items()):
        print("  %s %s (language %d): %d bytes" % (kind, name, language, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

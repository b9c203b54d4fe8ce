#!/usr/bin/env python3
"""Reads the resources of Windows programs without running them and fails
unless they hold the same ones, byte for byte: the 32-bit build, which no
machine here runs, against the 64-bit one that runs under Wine. Prints what
each holds.

  compare_resources.py [--program] <program.exe> <program.exe>

With --program they are quillop.exe: GUI programs that also carry their
manifest and version information."""

import sys

import pefile

# What the program must carry, as (type, name): the four dialogs, the icon,
# the string table's blocks of sixteen (ids 101-118, 1000-1016, 0xEF20, 0xEF60) and
# the catalogue.
REQUIRED = {("5", "100"), ("5", "102"), ("5", "144"), ("5", "145"), ("14", "128"),
            ("6", "7"), ("6", "8"), ("6", "63"), ("6", "64"), ("6", "3827"), ("6", "3831"),
            ("NUM_VORNS", "IDR_NUM_VORNS")}
REQUIRED |= {(kind, "IDR_%s%d" % (kind, n)) for kind in ("CTL", "VRN") for n in range(1, 9)}
# quillop.exe's own: its manifest and its version information, with what
# each must say.
PROGRAM = {("24", "1"), ("16", "1")}
PROGRAM_SAYS = {
    ("24", "1"): [b'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
                  b'<requestedExecutionLevel level="highestAvailable" uiAccess="false"/>',
                  b'PerMonitorV2'],
    ("16", "1"): [text.encode("utf-16-le") for text in
                  ("ProductName", "Quillop\0", "FileDescription",
                   "Quillop: installs the Quenna Picture Vorn collection into Corvane", "ProductVersion", "1.0.0\0")],
}
WINDOWS_GUI = 2


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
    return kind, found, pe.OPTIONAL_HEADER.Subsystem


def main():
    arguments = sys.argv[1:]
    program = arguments[:1] == ["--program"]
    paths = arguments[1:] if program else arguments
    (first_kind, first, first_subsystem), (second_kind, second, second_subsystem) = (
        resources(path) for path in paths[:2])
    print("%s %s: %d resources; %s %s: %d resources" % (first_kind, paths[0], len(first),
                                                        second_kind, paths[1], len(second)))
    if program and (first_subsystem, second_subsystem) != (WINDOWS_GUI, WINDOWS_GUI):
        print("FAIL: subsystems %d and %d, not both Windows GUI (%d)" % (first_subsystem, second_subsystem,
                                                                         WINDOWS_GUI))
        return 1
    missing = (REQUIRED | (PROGRAM if program else set())) - {(kind, name) for kind, name, _ in first}
    if missing:
        print("FAIL: missing %s" % sorted(missing))
        return 1
    for (kind, name), needed in (PROGRAM_SAYS.items() if program else []):
        data = b"".join(d for (k, n, _), d in first.items() if (k, n) == (kind, name))
        for text in needed:
            if text not in data:
                print("FAIL: resource %s %s lacks %r" % (kind, name, text))
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

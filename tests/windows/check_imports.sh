#!/usr/bin/env bash
# Fails unless each program is a PE of its target's kind (PE32 for i686,
# PE32+ for x86_64) importing only Windows' own DLLs; with --at-start-only-kernel32-and-msvcrt,
# only the two that Windows always takes from its own folder are bound at start.
#   check_imports.sh <objdump> <i686|x86_64> [--at-start-only-kernel32-and-msvcrt] <program.exe>...
set -euo pipefail
objdump=$1 processor=$2
shift 2
expected=$([ "$processor" = i686 ] && echo pei-i386 || echo pei-x86-64)
# DLL names are matched as Windows matches them, in any case.
shopt -s nocasematch
system='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|OLE32|COMCTL32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
if [ "$1" = --at-start-only-kernel32-and-msvcrt ]; then
    system='^(KERNEL32|msvcrt)\.dll$'
    shift
fi
status=0
for program in "$@"; do
    format=$("$objdump" -f "$program" | awk '/file format/ { print $NF }')
    if [ "$format" != "$expected" ]; then
        echo "$program: $format, not $expected"
        status=1
    fi
    while read -r dll; do
        if ! [[ $dll =~ $system ]]; then
            echo "$program imports $dll"
            status=1
        fi
    done < <("$objdump" -p "$program" | awk '/DLL Name:/ { print $3 }')
done
exit "$status"

#!/usr/bin/env bash
# Runs a Windows test program under Wine, as CTest's emulator for the
# Windows builds:  run_under_wine.sh win64|win32 <program.exe> [arguments]
# One prefix per architecture and user, copied from the template the system
# tests copy theirs from. Its server and Wine's background programs (started
# by wineboot) run detached from the caller's streams: started by the test
# program itself, they would hold its output open until the server lingers out.
set -euo pipefail
source "$(dirname "$0")/wine.sh"
use_wine "$1"
shift
export WINEPREFIX=${WINEPREFIX:-$scratch/quillop-wine-$WINEARCH-$(id -u)}
unset DISPLAY
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        rm -rf "$WINEPREFIX"
        make_throwaway_prefix "$WINEPREFIX" 9>&-
    fi
    # On a running prefix, wineboot finds its programs there and is done at once.
    start_prefix 30
    # Drive S:, a small disk the tests fill up (tests/support/windows),
    # where this machine lets us mount one; without it those tests skip.
    disk="$WINEPREFIX.small-disk"
    mkdir -p "$disk"
    if mountpoint -q "$disk" || mount -t tmpfs -o size=256k tmpfs "$disk" 2> /dev/null; then
        ln -sfn "$disk" "$WINEPREFIX/dosdevices/s:"
    else
        rm -f "$WINEPREFIX/dosdevices/s:"
    fi
) 9> "$WINEPREFIX.lock"
exec "$loader" "$@"

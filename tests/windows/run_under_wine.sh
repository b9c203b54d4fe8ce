#!/usr/bin/env bash
# Runs a Windows test program under Wine, as CTest's emulator for the
# Windows builds:  run_under_wine.sh win64|win32 <program.exe> [arguments]
# One throwaway prefix per architecture and user, made by wineboot on first
# use. Its server and Wine's background programs (started by wineboot) run
# detached from the caller's streams: started by the test program itself,
# they would hold its output open until the server lingers out.
set -euo pipefail
arch=$1
shift
if [ "$arch" = win32 ]; then
    loader=/usr/lib/wine/wine
else
    loader=/usr/lib/wine/wine64
fi
if ! "$loader" --version > /dev/null 2>&1; then
    echo "SKIPPED: $loader cannot run here (no 32-bit programs on this machine, or Wine's loader is missing)"
    exit 77
fi
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/quillop-wine-$arch-$(id -u)}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=${LC_ALL:-C.UTF-8}
unset DISPLAY
mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    /usr/lib/wine/wineserver -p30 < /dev/null > /dev/null 2>&1 9>&- || true
    # -i makes the prefix; on a running one, wineboot finds its programs
    # there and is done at once.
    make=()
    [ -f "$WINEPREFIX/system.reg" ] || make=(-i)
    "$loader" wineboot "${make[@]}" < /dev/null > /dev/null 2>&1 9>&-
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

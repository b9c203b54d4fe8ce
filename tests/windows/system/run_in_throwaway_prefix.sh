#!/usr/bin/env bash
# Runs the driver of quillop.exe's system tests in a throwaway Wine prefix of
# its own, with a wineserver and an X display of its own:
#   run_in_throwaway_prefix.sh win64|win32 <driver.exe> <quillop.exe> [driver arguments]
# The prefix is a copy of one made once by wineboot (per architecture and
# user), with the X11 driver's Managed setting off: without a window manager
# closing a managed window costs seconds.
set -euo pipefail
arch=$1 driver=$2 program=$3
shift 3
if [ "$arch" = win32 ]; then
    loader=/usr/lib/wine/wine
else
    loader=/usr/lib/wine/wine64
fi
if ! "$loader" --version > /dev/null 2>&1; then
    echo "SKIPPED: $loader cannot run here (no 32-bit programs on this machine, or Wine's loader is missing)"
    exit 77
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=${LC_ALL:-C.UTF-8}
server=/usr/lib/wine/wineserver
scratch=${TMPDIR:-/tmp}
template=$scratch/quillop-wine-system-$arch-$(id -u)

work=$(mktemp -d "$scratch/quillop-system-XXXXXX")
xvfb_pid=
cleanup() {
    WINEPREFIX=$work/prefix "$server" -k > /dev/null 2>&1 || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# An X server of the test's own; it writes its display number when ready.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5> "$work/display" > /dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
export DISPLAY=:$(cat "$work/display")

(
    flock 9
    if [ ! -f "$template/.made" ]; then
        rm -rf "$template"
        mkdir -p "$template"
        export WINEPREFIX=$template
        "$server" -p0 < /dev/null > /dev/null 2>&1 9>&-
        "$loader" wineboot -i < /dev/null > /dev/null 2>&1 9>&-
        "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f < /dev/null > /dev/null 2>&1 9>&-
        # The server writes the registry out when it ends.
        "$server" -w
        touch "$template/.made"
    fi
) 9> "$template.lock"

cp -a "$template" "$work/prefix"
export WINEPREFIX=$work/prefix
"$server" -p0 < /dev/null > /dev/null 2>&1
"$loader" wineboot < /dev/null > /dev/null 2>&1
# The driver is given the program as a Windows path on drive Z:.
export QUILLOP_EXE="Z:$(realpath "$program" | tr / '\\')"
"$loader" "$driver" "$@"

#!/usr/bin/env bash
# Runs the driver of quillop.exe's system tests in a throwaway Wine prefix of
# its own, with a wineserver and an X display of its own:
#   run_in_throwaway_prefix.sh win64|win32 <driver.exe> <quillop.exe> [driver arguments]
set -euo pipefail
arch=$1 driver=$2 program=$3
shift 3
source "$(dirname "$0")/../wine.sh"
use_wine "$arch"

work=$(mktemp -d "$scratch/quillop-system-XXXXXX")
xvfb_pid=
cleanup() {
    WINEPREFIX=$work/prefix "$server" -k > /dev/null 2>&1 || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_display "$work"
make_throwaway_prefix "$work/prefix"
export WINEPREFIX=$work/prefix
start_prefix 0
# The driver is given the program as a Windows path on drive Z:.
QUILLOP_EXE=$(windows_path "$program")
export QUILLOP_EXE
"$loader" "$driver" "$@"

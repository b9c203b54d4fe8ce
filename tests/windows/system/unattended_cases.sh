#!/usr/bin/env bash
# The command line's shared cases (tests/system/unattended_cases.py) against
# quillop.exe under Wine, in one throwaway prefix made by wineboot with
# Corvane registered at C:\Corvane, as the Linux program meets them.
#   unattended_cases.sh win64|win32 <quillop.exe> <file holder.exe>
set -euo pipefail
arch=$1 program=$2 holder=$3
here=$(dirname "$0")
source "$here/../wine.sh"
use_wine "$arch"

work=$(mktemp -d "$scratch/quillop-cases-XXXXXX")
cleanup() {
    WINEPREFIX=$work/prefix "$server" -k > /dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

make_throwaway_prefix "$work/prefix"
export WINEPREFIX=$work/prefix
# The server stays for the cases that follow one another.
start_prefix 30
"$loader" reg add 'HKCR\CRV5.Image\shell\open\command' /ve /d 'C:\Corvane\Corvane.exe %1' /f \
    < /dev/null > /dev/null 2>&1
/usr/bin/python3 "$here/../../system/unattended_cases.py" wine "$loader" "$program" "$holder"

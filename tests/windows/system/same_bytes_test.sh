#!/usr/bin/env bash
# quillop.exe under Wine and the Linux quillop, each run on one of two twin
# prefixes (the same prefix made by wineboot, the same registration by
# reg add, the same Vorns folder), must leave the same bytes: every Vorn
# file and Vorns.ctl. Once on an empty control file, once with both
# conflicts, every proposal accepted on both sides.
#   same_bytes_test.sh win64|win32 <driver.exe> <quillop.exe> <Linux quillop>
set -euo pipefail
arch=$1 driver=$2 program=$3 linux=$4
here=$(dirname "$0")
source "$here/../wine.sh"
use_wine "$arch"
if [ ! -x "$linux" ]; then
    echo "SKIPPED: no Linux quillop at $linux (it is built in build/)"
    exit 77
fi

work=$(mktemp -d "$scratch/quillop-twins-XXXXXX")
cleanup() {
    WINEPREFIX=$work/prefix "$server" -k > /dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

status=0
for case in plain conflicts; do
    seed=$work/$case/seed
    mkdir -p "$seed" "$work/$case/windows"
    if [ "$case" = plain ]; then
        : > "$seed/Vorns.ctl"
    else
        printf '\r\nVornName:Fern\r\n' > "$seed/Vorns.ctl"
        printf "host's own" > "$seed/Pebbles.vrn"
    fi

    QUILLOP_SEED=$(windows_path "$seed") QUILLOP_RESULT=$(windows_path "$work/$case/windows") \
        "$here/run_in_throwaway_prefix.sh" "$arch" "$driver" "$program" \
        --gtest_filter=QuillopExe.TwinInstallAcceptingEveryProposal --gtest_brief=1

    # The twin, for the Linux program.
    rm -rf "$work/prefix"
    make_throwaway_prefix "$work/prefix"
    mkdir -p "$work/prefix/drive_c/Corvane/Vorns"
    cp "$seed"/* "$work/prefix/drive_c/Corvane/Vorns/"
    (
        export WINEPREFIX=$work/prefix
        start_prefix 0
        "$loader" reg add 'HKCR\CRV5.Image\shell\open\command' /ve /d 'C:\Corvane\Corvane.exe %1' /f \
            < /dev/null > /dev/null 2>&1
        "$server" -w
    )
    WINEPREFIX=$work/prefix "$linux" --unattended --on-conflict rename --quiet

    if diff -r "$work/$case/windows" "$work/prefix/drive_c/Corvane/Vorns"; then
        echo "$case: the same $(ls "$work/$case/windows" | wc -l) files, byte for byte"
    else
        echo "$case: the two programs left different bytes"
        status=1
    fi
    if [ "$(ls "$work/$case/windows" | wc -l)" -lt 9 ]; then
        echo "$case: the Windows program installed too little"
        status=1
    fi
done
exit "$status"

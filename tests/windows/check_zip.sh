#!/usr/bin/env bash
# Makes the zip for Windows users and checks it: quillop.exe and README.txt,
# nothing else; unpacked into a folder whose name has spaces, the program
# runs from there (where this machine runs the target's programs).
#   check_zip.sh <build folder> win32|win64 <driver.exe>
set -euo pipefail
build=$1 kind=$2 driver=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G ZIP -B "$work/out" --config "$build/CPackConfig.cmake" > "$work/cpack.log"
zip=$(ls "$work"/out/quillop-*-"$kind".zip)
listing=$(/usr/bin/python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
if [ "$listing" != "README.txt quillop.exe" ]; then
    echo "FAILED: $(basename "$zip") holds $listing"
    exit 1
fi
echo "$(basename "$zip"): $listing, $(stat -c %s "$zip") bytes"

folder="$work/Quillop for Windows"
/usr/bin/python3 -m zipfile -e "$zip" "$folder"
# Run, not exec'd: the trap removes the work folder once the test is done.
"$(dirname "$0")/system/run_in_throwaway_prefix.sh" "$kind" "$driver" "$folder/quillop.exe" \
    --gtest_filter=QuillopExe.FoundThroughAShortRegistration --gtest_brief=1

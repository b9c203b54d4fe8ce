#!/usr/bin/env bash
# quillop.exe started from a folder where DLLs were planted, beside it and in
# the current folder, with the overrides that make Wine look for those DLLs
# as Windows looks for a DLL that is not a known one (the program's folder
# first): none may be loaded, and the program still installs.
#   planted_dlls_test.sh win64|win32 <driver.exe> <quillop.exe> <planted.dll>
set -euo pipefail
arch=$1 driver=$2 program=$3 planted=$4
here=$(cd "$(dirname "$0")" && pwd)
names=(version uxtheme dwmapi propsys cryptbase userenv setupapi apphelp oleacc clbcatq textshaping winmm
       sspicli profapi imm32 shlwapi)
work=$(mktemp -d "${TMPDIR:-/tmp}/quillop-planted-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/Downloads" "$work/current"
cp "$program" "$work/Downloads/quillop.exe"
for name in "${names[@]}"; do
    cp "$planted" "$work/Downloads/$name.dll"
    cp "$planted" "$work/current/$name.dll"
done

cd "$work/current"
status=0
QUILLOP_DLL_OVERRIDES="$(IFS=,; echo "${names[*]}")=n,b" QUILLOP_WINEDEBUG=-all,+loaddll \
    "$here/run_in_throwaway_prefix.sh" "$arch" "$driver" "$work/Downloads/quillop.exe" --gtest_brief=1 \
    --gtest_filter='*.FoundThroughALongRegistrationLaidOutAndInstalledWithEnter:*.BrowseToAnotherFolderAndBack' \
    2> "$work/loader.log" || status=$?
grep -v ':loaddll:' "$work/loader.log" >&2 || true
if [ "$status" -ne 0 ]; then
    echo "FAILED: the program did not pass its tests with the planted DLLs there"
    exit 1
fi
if ! grep -qi 'loaddll.*system32\\\\shell32.dll' "$work/loader.log"; then
    echo "FAILED: the loader's list shows no shell32.dll from the system folder; was it traced?"
    exit 1
fi
loaded=$(grep -i 'loaddll' "$work/loader.log" | grep -i 'quillop-planted-' | grep -vi 'quillop\.exe"' || true)
markers=$(cd "$work" && find . -name '*.loaded')
if [ -n "$loaded$markers" ]; then
    echo "FAILED: planted DLLs were loaded:"
    echo "$loaded"
    echo "$markers"
    exit 1
fi
echo "none of ${#names[@]} planted DLLs was loaded, beside the program or in the current folder"

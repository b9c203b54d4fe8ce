#!/usr/bin/env bash
# Writes a delay-import library for a Windows DLL from its import library:
# each function it exports is bound at its first call instead of when the
# program starts, so that the DLL is loaded after the program has limited
# where DLLs are searched for. Data exports cannot be delayed and are left out.
#   delay_import_library.sh <nm> <dlltool> <import library> <DLL> <output> [symbol prefix]
set -euo pipefail
nm=$1 dlltool=$2 library=$3 dll=$4 output=$5 prefix=${6-}
{
    echo "LIBRARY $dll"
    echo "EXPORTS"
    "$nm" -g --defined-only "$library" | awk -v prefix="$prefix" '
        $2 == "T" && substr($3, 1, length(prefix)) == prefix { print substr($3, length(prefix) + 1) }' | sort -u
} > "$output.def"
# -k imports by the undecorated name, as the DLL exports it.
"$dlltool" -k -d "$output.def" -y "$output"

#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and checks
# what it installs: the program, its desktop entry, icons and metainfo, and
# that lintian finds no errors.
#   check_package.sh <build folder>
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" > "$work/cpack.log"
deb=$(ls "$work"/out/quillop_*.deb)
dpkg-deb -x "$deb" "$work/root"

failures=0
expect() { if ! "$@"; then echo "FAILED: $*"; failures=$((failures + 1)); fi; }

for file in usr/bin/quillop \
            usr/share/applications/org.quillop.Quillop.desktop \
            usr/share/metainfo/org.quillop.Quillop.metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/quillop.svg \
            usr/share/icons/hicolor/48x48/apps/quillop.png \
            usr/share/icons/hicolor/128x128/apps/quillop.png \
            usr/share/icons/hicolor/256x256/apps/quillop.png \
            usr/share/doc/quillop/copyright \
            usr/share/man/man1/quillop.1.gz \
            usr/share/bash-completion/completions/quillop; do
    expect test -f "$work/root/$file"
done
expect test -x "$work/root/usr/bin/quillop"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
    expect grep -q "$library" <<< "$depends"
done
expect desktop-file-validate "$work/root/usr/share/applications/org.quillop.Quillop.desktop"
expect appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.quillop.Quillop.metainfo.xml"
expect lintian --fail-on error "$deb"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "package $(basename "$deb") checked"

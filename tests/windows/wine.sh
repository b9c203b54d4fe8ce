# Sourced by the system tests' scripts: a throwaway Wine prefix, copied
# from one made once by wineboot (per architecture and user) with the X11
# driver's Managed setting off (without a window manager closing a managed
# window costs seconds), and an X display of the caller's own.
#   loader=... scratch=...; make_throwaway_prefix <folder>; start_display <folder>
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=${LC_ALL:-C.UTF-8}
server=/usr/lib/wine/wineserver

# Exits 77, the tests' skip code, unless `loader` runs here.
require_loader() {
    if ! "$loader" --version > /dev/null 2>&1; then
        echo "SKIPPED: $loader cannot run here (no 32-bit programs on this machine, or Wine's loader is missing)"
        exit 77
    fi
}

# Starts an X server whose display number it writes when ready; sets
# DISPLAY and xvfb_pid.
start_display() {
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5> "$1/display" > /dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [ -s "$1/display" ] && break
        sleep 0.05
    done
    export DISPLAY=:$(cat "$1/display")
}

# Copies the template prefix, made first if need be, to <folder>.
make_throwaway_prefix() {
    local template=$scratch/quillop-wine-system-$(basename "$loader")-$(id -u)
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
    cp -a "$template" "$1"
}

# A Unix path as the program's drive Z: shows it.
windows_path() {
    echo "Z:$(realpath "$1" | tr / '\\')"
}

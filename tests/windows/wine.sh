# Sourced by the scripts that run Windows programs under Wine:
#   use_wine win64|win32      sets loader, server and Wine's environment, and
#                             exits 77 (the tests' skip code) unless the loader runs
#   make_throwaway_prefix <folder>; start_prefix <seconds>; start_display <folder>
#   windows_path <path>
# A throwaway prefix is copied from one made once by wineboot (per loader and
# user) with the X11 driver's Managed setting off: without a window manager,
# closing a managed window costs seconds.
# A test may ask for Wine's traces and add DLL overrides of its own. The
# locale is fixed: Wine then gives programs cp1252, the code page the tests
# expect inside Vorns.ctl, and names files in UTF-8. A test of another
# language names a locale of the same code page (QUILLOP_TEST_LOCALE).
export WINEDEBUG=${QUILLOP_WINEDEBUG:--all} LC_ALL=${QUILLOP_TEST_LOCALE:-C.UTF-8}
export WINEDLLOVERRIDES="${QUILLOP_DLL_OVERRIDES:+$QUILLOP_DLL_OVERRIDES;}mscoree,mshtml="
server=/usr/lib/wine/wineserver
export WINESERVER=$server
scratch=${TMPDIR:-/tmp}

# 64-bit programs run under the system's wine64; 32-bit ones under the
# 32-bit loader of the kit scripts/setup makes, emulated, so that they run
# whether or not this machine's kernel runs 32-bit programs.
use_wine() {
    if [ "$1" = win32 ]; then
        loader=$("$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine32-kit" --loader)
        export WINEARCH=win32
    else
        loader=/usr/lib/wine/wine64
        export WINEARCH=win64
    fi
    if ! "$loader" --version > /dev/null 2>&1; then
        echo "SKIPPED: $loader cannot run here (scripts/setup makes the 32-bit kit; wine64 is Debian's)"
        exit 77
    fi
}

# Starts the prefix's server, lingering <seconds> after its last client, and
# Wine's background programs (wineboot), all detached from the caller's
# streams. Under the emulator a program started during the boot has been
# seen to hang at its start (rarely: a second services.exe, waiting for
# ever); a boot that takes more than a minute is ended with the server and
# tried again.
start_prefix() {
    local attempt
    for attempt in 1 2 3; do
        "$server" -p"$1" < /dev/null > /dev/null 2>&1 9>&- || true
        timeout 60 "$loader" wineboot < /dev/null > /dev/null 2>&1 9>&- && return 0
        echo "wineboot did not finish within a minute (attempt $attempt); starting $WINEPREFIX again" >&2
        "$server" -k > /dev/null 2>&1 || true
    done
    return 1
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
    local template=$scratch/quillop-wine-template-$WINEARCH-$(id -u)
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

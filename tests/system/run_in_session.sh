#!/usr/bin/env bash
# Runs a system test script in a D-Bus session of its own, with a runtime
# folder of its own, so that tests running side by side never share an
# accessibility bus.
#   run_in_session.sh <test script> <quillop executable> [test names]
set -euo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
# Vorns.ctl in cp1252 and file names in UTF-8, as the tests expect them.
export LC_ALL=C.UTF-8
# English unless a test asks for another language.
unset LANGUAGE
dbus-run-session -- /usr/bin/python3 "$@"

#!/usr/bin/env bash
# Drives the bash completion function as bash calls it (the words split at
# "=" and ":" as bash splits them) and checks the man page with groff.
#   check_completion.sh <source folder>
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p "with space/inner" wine-a

# quillop --list-prefixes as the completion reads it.
quillop() { printf 'bottles:Art\t/home/u/a\t(no Vorns folder)\nbottles:Atlas\t/b\t-\nsteam:1234\t/c\t-\n'; }
source "$source_dir/packaging/quillop.bash-completion"

failures=0
# expect <expected candidates, one per line> <words...>: the last word is the one completed.
expect() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quillop 2> /dev/null
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
    if [ "$actual" != "$(printf '%s' "$expected" | sort)" ]; then
        echo "FAILED: ${COMP_WORDS[*]}: expected [$expected], got [$actual]"
        failures=$((failures + 1))
    fi
}

expect $'rename\nskip' quillop --on-conflict =
expect 'rename' quillop --on-conflict = r
expect 'skip' quillop --on-conflict s
expect $'bottles:Art\nbottles:Atlas' quillop --prefix bot
expect $'Art\nAtlas' quillop --prefix bottles :
expect 'Atlas' quillop --prefix bottles : At
expect 'steam:1234' quillop --unattended --prefix st
expect 'with space' quillop --prefix wit
expect 'with space/inner' quillop --prefix 'with space/'
expect '' quillop --folder C
expect $'--unattended' quillop --un
expect $'--on-conflict=' quillop --on-

if ! groff -man -ww -z "$source_dir/packaging/quillop.1" 2> "$work/groff.log" || [ -s "$work/groff.log" ]; then
    echo "FAILED: groff warns about the man page:"
    cat "$work/groff.log"
    failures=$((failures + 1))
fi
for section in EXAMPLES OUTPUT ENVIRONMENT "SEE ALSO" "EXIT STATUS"; do
    grep -q "^\.SH $section" "$source_dir/packaging/quillop.1" || {
        echo "FAILED: the man page has no $section"
        failures=$((failures + 1))
    }
done

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "completion and man page checked"

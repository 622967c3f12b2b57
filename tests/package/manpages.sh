#!/usr/bin/env bash
# The manual pages as built: man reads them without a warning, and they keep up with the
# programs: every command "zvx --help" lists and every option of "zorvex --help" and
# "zvx COMMAND --help" is described in the page.
#
#   manpages.sh MAN_FOLDER ZORVEX ZVX
set -uo pipefail
man_dir=$1
zorvex=$2
zvx=$3

failed=0
passed=0
check() # description, then the command that must succeed
{
    local what=$1
    shift
    if "$@"; then ((++passed)); else ((++failed)); echo "FAIL: $what"; fi
}

# The page as man renders it, plain text.
render() { LC_ALL=C.UTF-8 MANWIDTH=200 man -l -Tutf8 "$1" 2>/dev/null | col -bx; }

for page in "$man_dir"/zorvex.1 "$man_dir"/zvx.1; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    check "$page renders without warnings: $warnings" test -z "$warnings"
done

# Options named in a help text: words starting with - or -- after a blank, "[" or ",".
options() { grep -oE -- '(^|[][ ,(])--?[a-zA-Z][a-zA-Z-]*' | sed 's/^[][ ,(]//' | sort -u; }

zvx_page=$(render "$man_dir"/zvx.1)
zorvex_page=$(render "$man_dir"/zorvex.1)
commands=$("$zvx" --help | awk '/^Polecenia:/ { list = 1; next } list && /^  [a-z]/ { print $1 }')
check "zvx --help lists commands" test -n "$commands"
for command in $commands; do
    # A command is described where its paragraph starts: "       show [--json] ...".
    check "zvx.1 describes \"zvx $command\"" grep -qE "^ {7}$command( |$)" <<<"$zvx_page"
    for option in $("$zvx" "$command" --help | options); do
        check "zvx.1 names \"zvx $command $option\"" grep -qF -- "$option" <<<"$zvx_page"
    done
done
for option in $("$zorvex" --help | options); do
    check "zorvex.1 names \"$option\"" grep -qF -- "$option" <<<"$zorvex_page"
done

echo "$passed passed, $failed failed"
((failed == 0))

#!/usr/bin/env bash
# The bash completion of zvx, driven as bash drives it: for each command line (the word
# under the cursor last) the words the completion must offer and the ones it must not.
#
#   completion.sh COMPLETION_FILE ZVX
set -uo pipefail
completion_file=$1
zvx=$(realpath "$2")
completion_file=$(realpath "$completion_file")

source /usr/share/bash-completion/bash_completion
source "$completion_file"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
touch obiekt.zvx STARY.ZVX notatki.txt
mkdir katalog

# Prints the completion's offers for the words given, one per line.
offers()
{
    COMP_WORDS=("$zvx" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _zvx "$zvx" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}

# words (| separated, last is the one being completed) ; must offer ; must not offer
cases=(
    ';new read write restart emulate show diff verify ports probe;--help'
    'probe|--;--port --log --help;--json'
    're;read restart;new'
    '--v;--version;--help'
    'read|--p;--port;--output'
    'read|--port|;COM1 COM2 COM16;COM17 obiekt.zvx'
    'read|--port|COM1;COM1 COM10 COM16;COM2'
    'write|-p|COM2|;obiekt.zvx STARY.ZVX katalog;notatki.txt'
    'new|-o|;obiekt.zvx STARY.ZVX katalog;notatki.txt'
    'new|-;-o --help;--port'
    'show|--;--json --masked --help;--port'
    'show|;obiekt.zvx STARY.ZVX;notatki.txt'
    'restart|--;--port --time --help;--json'
    'emulate|--fault|;silent nak-frame= cut=;--link'
    'emulate|--image|;obiekt.zvx;notatki.txt'
    'diff|obiekt.zvx|;obiekt.zvx STARY.ZVX;notatki.txt'
)

failed=0
passed=0
for row in "${cases[@]}"; do
    IFS=';' read -r line want wantNot <<<"$row"
    IFS='|' read -r -a words <<<"$line"
    [[ $line == *'|' || -z $line ]] && words+=('')
    got=$(offers "${words[@]}")
    ok=1
    for w in $want; do
        grep -qxF -- "$w" <<<"$got" || { echo "FAIL '$line': '$w' not offered"; ok=0; }
    done
    for w in $wantNot; do
        grep -qxF -- "$w" <<<"$got" && { echo "FAIL '$line': '$w' offered"; ok=0; }
    done
    if ((ok)); then ((++passed)); else ((++failed)); echo "  offered: $(echo $got)"; fi
done
echo "$passed passed, $failed failed"
((failed == 0))

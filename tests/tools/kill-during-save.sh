#!/usr/bin/env bash
# Kills a process with SIGKILL at random moments while it saves configurations over and
# over, and checks after every kill that the file is one whole configuration or the
# other, byte for byte, never a damaged one. A save killed half-way may leave its
# temporary file ("<name>.XXXXXX") beside the target: at most one per kill.
#
#   kill-during-save.sh SAVE_LOOP [ROUNDS]
set -euo pipefail
helper=$1
rounds=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shopt -s nullglob

"$helper" "$work/a.zvx" once A
"$helper" "$work/b.zvx" once B
if cmp -s "$work/a.zvx" "$work/b.zvx"; then
    echo "the two configurations must differ" >&2
    exit 1
fi

target="$work/obiekt.zvx"
mkfifo "$work/ready"
leftovers=0
for ((round = 1; round <= rounds; ++round)); do
    cp "$work/a.zvx" "$target"
    "$helper" "$target" loop >"$work/ready" &
    pid=$!
    read -r _ <"$work/ready"
    # Up to 20 ms into the saving; each save takes a few milliseconds.
    sleep "0.$(printf '%03d' $((RANDOM % 20)))"
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true

    if ! cmp -s "$target" "$work/a.zvx" && ! cmp -s "$target" "$work/b.zvx"; then
        echo "round $round: the file is damaged" >&2
        od -A d -t x1 "$target" | head -n 5 >&2
        exit 1
    fi
    temps=("$target".??????)
    if ((${#temps[@]} > 1)); then
        echo "round $round: ${#temps[@]} temporary files left behind" >&2
        exit 1
    fi
    leftovers=$((leftovers + ${#temps[@]}))
    rm -f "${temps[@]}"
done
echo "$rounds saves killed: the file was always whole;" \
    "$leftovers killed half-way left their temporary file"

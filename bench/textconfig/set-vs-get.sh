#!/usr/bin/env bash
# zvx set against zvx get over many files, as an installer's shell loop runs them: each
# file is one process. A loop is bounded by process start when "set" (read, check, atomic
# save) costs at most 1.5 times "get" (read, print) per file. Prints both per file, their
# ratio and the files per second of "set".
#
#   set-vs-get.sh ZVX [FILES] [FOLDER]    (defaults: 1000 files in a temporary folder)
set -euo pipefail
zvx=${1:?zvx executable}
files=${2:-1000}
folder=${3:-$(mktemp -d)}
trap 'rm -rf "$folder"' EXIT

"$zvx" new -o "$folder/0.zvx" >/dev/null
for ((i = 1; i < files; ++i)); do cp "$folder/0.zvx" "$folder/$i.zvx"; done

now() { echo "$EPOCHREALTIME"; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.6f", b - a }'; }

start=$(now)
for ((i = 0; i < files; ++i)); do
    "$zvx" get "$folder/$i.zvx" stations.sma1Number >/dev/null
done
get_s=$(since "$start")

start=$(now)
for ((i = 0; i < files; ++i)); do
    "$zvx" set "$folder/$i.zvx" stations.sma1Number=0221234567 >/dev/null
done
set_s=$(since "$start")

# Every file was changed, and only that field.
test "$("$zvx" get "$folder/$((files - 1)).zvx" stations.sma1Number)" = 0221234567

awk -v n="$files" -v g="$get_s" -v s="$set_s" 'BEGIN {
    printf "files: %d\n", n
    printf "zvx get: %.2f ms per file\n", 1000 * g / n
    printf "zvx set: %.2f ms per file (%.0f files/s)\n", 1000 * s / n, n / s
    printf "set / get: %.2f (goal: at most 1.50)\n", s / g
    exit (s / g <= 1.5 ? 0 : 1)
}'

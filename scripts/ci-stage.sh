# Sourced by .ci/run: stage NAME command... runs one stage, timed; the first that fails
# ends the run. The summary, a line per stage with its wall time and the CPU time of its
# processes, is printed when the run ends, however it ends.

ci_stages=()
ci_cleanups=()
ci_ticks=$(getconf CLK_TCK)
ci_started=$(date +%s)

# CPU time (user + system, in clock ticks) of this shell's finished children.
ci_child_ticks() {
    # Fields 16 and 17 of /proc/PID/stat, counted after the command name's parenthesis.
    local stat
    stat=$(</proc/$$/stat)
    stat=${stat##*) }
    set -- $stat
    echo $((${14} + ${15}))
}

ci_seconds() { # ticks
    printf '%d.%d' $(($1 / ci_ticks)) $(($1 % ci_ticks * 10 / ci_ticks))
}

stage() { # name command...
    local name=$1
    shift
    echo "== $name: $*"
    local start ticks status
    start=$(date +%s)
    ticks=$(ci_child_ticks)
    # In the background and waited for: a command in an || list would run with errexit
    # off, also inside functions it calls.
    "$@" &
    wait $! && status=0 || status=$?
    local wall=$(($(date +%s) - start)) cpu=$(($(ci_child_ticks) - ticks))
    local outcome=ok
    [ $status -eq 0 ] || outcome="FAILED ($status)"
    ci_stages+=("$(printf '%-14s %-12s %6d s wall %8s s CPU' "$name" "$outcome" "$wall" \
        "$(ci_seconds $cpu)")")
    return $status
}

# Runs command (a string for eval) when the run ends, after the summary.
ci_on_exit() {
    ci_cleanups+=("$1")
}

ci_summary() {
    local status=$?
    trap - EXIT
    echo
    echo "== stages"
    printf '%s\n' "${ci_stages[@]}"
    printf '%-14s %-12s %6d s wall %8s s CPU\n' total "$([ $status -eq 0 ] && echo ok || echo FAILED)" \
        $(($(date +%s) - ci_started)) "$(ci_seconds "$(ci_child_ticks)")"
    local cleanup
    for cleanup in "${ci_cleanups[@]}"; do
        eval "$cleanup" || true
    done
    exit $status
}
trap ci_summary EXIT

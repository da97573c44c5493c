# Shared by the fuzz and test commands: builds the fuzz preset and runs its
# libFuzzer targets. Source it after environment.sh.

# plovix_fuzz SECONDS
# Runs every target, one per folder of fuzz/corpus, over its seeds and
# then fuzzes it for SECONDS with the dictionary, one process at a time. New
# inputs go to build/fuzz/runs/TARGET/corpus, never into the seeds; a crash
# or a broken property is kept in build/fuzz/runs/TARGET/findings. Prints
# each target's executions; sets PLOVIX_FUZZ_PASSED and PLOVIX_FUZZ_FAILED
# and returns non-zero if any target failed.
plovix_fuzz() {
    local seconds=$1 configure_log seeds target run log finding status=0
    PLOVIX_FUZZ_PASSED=0
    PLOVIX_FUZZ_FAILED=0
    plovix_log "building fuzz"
    if ! configure_log=$(cmake --preset fuzz 2>&1); then
        printf '%s\n' "$configure_log" >&2
        plovix_log "configuring fuzz failed"
        return 1
    fi
    cmake --build --preset fuzz || return 1
    for seeds in "$PLOVIX_ROOT"/fuzz/corpus/*/; do
        target=$(basename "$seeds")
        run=$PLOVIX_ROOT/build/fuzz/runs/$target
        log=$run/fuzz.log
        # Each target works in a folder of its own: a failed consistency check
        # of the code under test writes assertion.txt there.
        mkdir -p "$run/corpus" "$run/findings" "$run/work"
        rm -f "$run/work/assertion.txt"
        plovix_log "fuzzing $target for $seconds s"
        if (cd "$run/work" && UBSAN_OPTIONS=print_stacktrace=1 \
            "$PLOVIX_ROOT/build/fuzz/fuzzers/$target" -max_total_time="$seconds" -timeout=10 \
            -dict="$PLOVIX_ROOT/fuzz/plovix.dict" -print_final_stats=1 \
            -artifact_prefix="$run/findings/" "$run/corpus" "$seeds") >"$log" 2>&1; then
            printf '%-24s %10s runs in %3s s, %7s exec/s\n' "$target:" \
                "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" \
                "$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")" \
                "$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
            PLOVIX_FUZZ_PASSED=$((PLOVIX_FUZZ_PASSED + 1))
        else
            grep -E 'property failed|ERROR:|SUMMARY:' "$log" >&2 || tail -n 30 "$log" >&2
            finding=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
            plovix_log "$target failed${finding:+; the input is kept as $finding}; its log is $log"
            PLOVIX_FUZZ_FAILED=$((PLOVIX_FUZZ_FAILED + 1))
            status=1
        fi
    done
    return $status
}

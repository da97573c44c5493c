# Shared by the test command: clang-tidy over every C++ source of the
# project. Source it after environment.sh.

# plovix_tidy [JOBS]
# Runs clang-tidy, JOBS files at a time (all cores by default), with .clang-tidy's checks over each source once, with the
# compile commands of a build that compiles it: the 64-bit clang build's for
# the Windows sources (as clang reads them), then the host build's for the
# programs of the build machine and the fuzz build's for the fuzz targets;
# those builds must be configured. Prints every finding and returns non-zero
# when there is one.
plovix_tidy() {
    local jobs=${1:-$(nproc)} database file output status=0
    local -A seen=()
    for database in win64-clang host fuzz; do
        local files=() listed=0
        while IFS= read -r file; do
            listed=$((listed + 1))
            [ -n "${seen[$file]:-}" ] && continue
            seen[$file]=1
            files+=("$file")
        done < <(sed -n 's/^ *"file": "\(.*\.c\(pp\|c\)\)"$/\1/p' \
            "$PLOVIX_ROOT/build/$database/compile_commands.json" | grep "^$PLOVIX_ROOT/" | sort -u)
        plovix_log "clang-tidy: ${#files[@]} sources as the $database build compiles them"
        # A database that lists nothing (a build configured wrongly, or its
        # format changed) would otherwise pass unread.
        if [ $listed -eq 0 ]; then
            echo "clang-tidy: build/$database/compile_commands.json lists no source of the project"
            status=1
        fi
        [ ${#files[@]} -gt 0 ] || continue
        # Each file's command and its count of suppressed warnings (the
        # system headers') are noise; a finding names its file and check.
        if ! output=$(run-clang-tidy -j "$jobs" -p "$PLOVIX_ROOT/build/$database" -quiet \
            "${files[@]}" 2>&1); then
            status=1
        fi
        grep -v -E '^(clang-tidy(-[0-9]+)? |[0-9]+ warnings? generated\.|Suppressed [0-9]+ warnings)' \
            <<<"$output" || true
    done
    return $status
}

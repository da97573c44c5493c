#!/usr/bin/env bash
# The test command. Installs what is missing, builds the host, win32 and
# win64 presets and runs every suite: the host one natively, the fuzz targets
# over their seeds and 20 s of fuzzing each, the Windows ones under Wine, one
# display at a time (CTest starts each display and its Wine prefix), the
# installer tests last. Exits non-zero if anything fails or no test ran.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
source "$(dirname "$0")/lib/fuzz.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_FUZZ_PACKAGES[@]}" \
    "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_SWITCHING_PACKAGES[@]}" \
    "${PLOVIX_PACKAGING_PACKAGES[@]}" xdotool
plovix_ensure_fuzz_packages

for preset in host win32 win64; do
    plovix_log "building $preset"
    if ! configure_log=$(cmake --preset "$preset" 2>&1); then
        printf '%s\n' "$configure_log" >&2
        plovix_log "configuring $preset failed"
        exit 1
    fi
    cmake --build --preset "$preset"
done

declare -A passed failed skipped
suites=()
# Every test that did not run, with its reason, for the summary.
skip_lines=()
status=0
# run_suite NAME PRESET [ctest arguments]; counts from ctest's JUnit report.
run_suite() {
    local name=$1 preset=$2 report
    shift 2
    report=$(mktemp)
    plovix_log "testing $name"
    ctest --preset "$preset" --output-junit "$report" "$@" || status=1
    local suite total failures skips
    # ctest puts each attribute of the suite's element on a line of its own.
    suite=$(tr '\n\t' '  ' <"$report" | grep -o -m1 '<testsuite [^>]*>' || true)
    total=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$suite")
    failures=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$suite")
    skips=$(sed -n 's/.* skipped="\([0-9]*\)".*/\1/p' <<<"$suite")
    passed[$name]=$((${total:-0} - ${failures:-0} - ${skips:-0}))
    skipped[$name]=${skips:-0}
    failed[$name]=${failures:-0}
    # A skipped test says why on the line after GoogleTest's "Skipped".
    local line
    while IFS= read -r line; do
        skip_lines+=("$name: $line")
    done < <(awk '/<testcase / { match($0, /name="[^"]*"/); test = substr($0, RSTART + 6, RLENGTH - 7) }
        reason { print test ": " $0; reason = 0 }
        /: Skipped$/ { reason = 1 }' "$report")
    suites+=("$name")
    if [ "${total:-0}" -eq 0 ]; then
        plovix_log "$name ran no test"
        status=1
    fi
    rm -f "$report"
}

run_suite host host

# One test for each fuzz target: its seeds, then 20 s of fuzzing.
plovix_log "testing fuzz"
plovix_fuzz 20 || status=1
passed[fuzz]=$PLOVIX_FUZZ_PASSED
failed[fuzz]=$PLOVIX_FUZZ_FAILED
suites+=(fuzz)
if [ $((PLOVIX_FUZZ_PASSED + PLOVIX_FUZZ_FAILED)) -eq 0 ]; then
    plovix_log "fuzz ran no target"
    status=1
fi

windows_presets=(win64)
if plovix_can_run_wine32; then
    windows_presets=(win32 win64)
else
    plovix_log "win32 built but not tested: this machine's kernel cannot run 32-bit programs," \
        "so 32-bit Wine cannot start here"
fi

# CTest knows the matrix: each Windows test carries the label of the display
# it runs on, and the display is a fixture that CTest starts and ends around
# its tests; the win64 build also has the installer tests, labelled installer.
# A suite is one build's tests of one label.
for preset in "${windows_presets[@]}"; do
    mapfile -t labels < <(ctest --preset "$preset" --print-labels | sed -n 's/^  *//p')
    for label in "${labels[@]}"; do
        run_suite "$preset@$label" "$preset" -L "^$label\$"
    done
done

all_passed=0
all_failed=0
all_skipped=0
for name in "${suites[@]}"; do
    printf '%-26s %4d passed, %d failed' "$name:" "${passed[$name]}" "${failed[$name]}"
    [ "${skipped[$name]:-0}" -gt 0 ] && printf ', %d skipped' "${skipped[$name]}"
    printf '\n'
    all_passed=$((all_passed + passed[$name]))
    all_failed=$((all_failed + failed[$name]))
    all_skipped=$((all_skipped + ${skipped[$name]:-0}))
done
for line in "${skip_lines[@]}"; do
    echo "skipped in $line"
done
echo "Total: $all_passed passed, $all_failed failed, $all_skipped skipped"
exit $status

#!/usr/bin/env bash
# The test command. Installs what is missing, builds the host, win32 and
# win64 presets and runs every suite: the host one natively, the fuzz targets
# over their seeds and 20 s of fuzzing each, the Windows ones under Wine in
# private virtual displays, then makes the release packages and runs the
# installer test. Exits non-zero if anything fails or no test ran.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
source "$(dirname "$0")/lib/fuzz.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_FUZZ_PACKAGES[@]}" \
    "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_SWITCHING_PACKAGES[@]}" \
    "${PLOVIX_PACKAGING_PACKAGES[@]}" xdotool
plovix_ensure_fuzz_packages
trap plovix_cleanup EXIT

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

# Most tests run on a display that accepts 800x600 without changing; the
# refused-display tests on one that refuses it, the switching-display tests
# on two that really switch (one offers 800x600 at the desktop's refresh
# rate, the other only at another rate), and the two-monitor tests on two
# displays of two monitors, the second right of the primary or left of it.
# Each display has a wineserver of its own.
REFUSING_DISPLAY_TESTS='^RefusingDisplay'
SWITCHING_DISPLAY_TESTS='^SwitchingDisplay'
TWO_MONITOR_TESTS='^TwoMonitor'

plovix_start_display 800x600
plovix_start_wine "$PLOVIX_ROOT/build/wine/800x600"
plovix_check_display_switch "${windows_presets[@]}"
for preset in "${windows_presets[@]}"; do
    run_suite "$preset" "$preset" \
        -E "$REFUSING_DISPLAY_TESTS|$SWITCHING_DISPLAY_TESTS|$TWO_MONITOR_TESTS"
done
plovix_start_display 1024x768
plovix_start_wine "$PLOVIX_ROOT/build/wine/1024x768"
for preset in "${windows_presets[@]}"; do
    run_suite "$preset@1024x768" "$preset" -R "$REFUSING_DISPLAY_TESTS"
done
for rate in 60hz 75hz; do
    plovix_start_switching_display "$PLOVIX_ROOT/tests/e2e/displays/switching-$rate.conf"
    plovix_start_wine "$PLOVIX_ROOT/build/wine/switching-$rate"
    for preset in "${windows_presets[@]}"; do
        run_suite "$preset@$rate" "$preset" -R "$SWITCHING_DISPLAY_TESTS"
    done
done
# A fresh two-monitor display for each build: under Wine 10 a monitor that
# xrandr switched off and on during a run leaves the desktop's layout changed
# for the programs that come after.
for side in right left; do
    for preset in "${windows_presets[@]}"; do
        plovix_start_switching_display "$PLOVIX_ROOT/tests/e2e/displays/two-monitors-$side.conf"
        plovix_start_wine "$PLOVIX_ROOT/build/wine/two-monitors-$side-$preset"
        run_suite "$preset@two-$side" "$preset" -R "$TWO_MONITOR_TESTS"
    done
done

# The installer is a 32-bit program: without 32-bit Wine it cannot run here.
if plovix_can_run_wine32; then
    plovix_log "making the packages"
    ./scripts/package.sh >/dev/null
    plovix_log "testing the installer"
    installer_log=$(mktemp)
    tests/installer/installer-test.sh >"$installer_log" || status=1
    cat "$installer_log"
    # Its last line: "N passed, N failed".
    read -r installer_passed _ installer_failed _ < <(tail -1 "$installer_log")
    rm -f "$installer_log"
    if ! [[ ${installer_passed:-} =~ ^[0-9]+$ && ${installer_failed:-} =~ ^[0-9]+$ ]]; then
        plovix_log "the installer test ended before its count"
        installer_passed=0
        installer_failed=1
        status=1
    fi
    passed[installer]=$installer_passed
    failed[installer]=$installer_failed
    suites+=(installer)
else
    plovix_log "installer not tested: it is a 32-bit program and 32-bit Wine cannot start here"
fi

all_passed=0
all_failed=0
all_skipped=0
for name in "${suites[@]}"; do
    printf '%-16s %4d passed, %d failed' "$name:" "${passed[$name]}" "${failed[$name]}"
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

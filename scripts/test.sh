#!/usr/bin/env bash
# The test command. Installs what is missing, builds the host, win32 and
# win64 presets, and the Windows programs with clang too (win32-clang,
# win64-clang, warnings as errors), and runs every suite: the host one
# natively, the fuzz targets over their seeds and 20 s of fuzzing each,
# clang-tidy over every source, the Windows ones under Wine, one display at a
# time (CTest starts each display and its Wine prefix), the installer tests
# last. Exits non-zero if anything fails or no test ran.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
source "$(dirname "$0")/lib/fuzz.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_FUZZ_PACKAGES[@]}" \
    "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_SWITCHING_PACKAGES[@]}" \
    "${PLOVIX_PACKAGING_PACKAGES[@]}" "${PLOVIX_CHECK_PACKAGES[@]}" xdotool
plovix_ensure_fuzz_packages

for preset in host win32 win64 win32-clang win64-clang; do
    plovix_log "building $preset"
    if ! configure_log=$(cmake --preset "$preset" 2>&1); then
        printf '%s\n' "$configure_log" >&2
        plovix_log "configuring $preset failed"
        exit 1
    fi
    # The clang builds make the programs; their tests' sources are read by
    # clang-tidy. GNU ld tells of every type name that clang's objects and
    # GCC's C++ library spell differently (harmless duplicates); clang's own
    # warnings are errors, so its builds are shown only when they fail.
    if [[ $preset == *-clang ]]; then
        if ! build_log=$(cmake --build --preset "$preset" --target programs 2>&1); then
            printf '%s\n' "$build_log" >&2
            plovix_log "building $preset failed"
            exit 1
        fi
    else
        cmake --build --preset "$preset"
    fi
done

# clang-tidy reads every source on one core, at the lowest priority, beside
# the suites, which mostly wait on Wine and leave the other core idle; its
# result is counted at the end. The fuzz build's compile commands are needed.
if ! configure_log=$(cmake --preset fuzz 2>&1); then
    printf '%s\n' "$configure_log" >&2
    plovix_log "configuring fuzz failed"
    exit 1
fi
tidy_log=$(mktemp)
nice -n 19 bash -c "source '$PLOVIX_ROOT/scripts/lib/environment.sh' &&
    source '$PLOVIX_ROOT/scripts/lib/tidy.sh' && plovix_tidy 1" >"$tidy_log" 2>&1 &
tidy=$!
trap 'kill "$tidy" 2>/dev/null || true' EXIT

declare -A passed failed skipped
suites=()
# Every test that did not run, with its reason, every failed test with the
# line that reruns it, and every suite that cannot run here, with why.
skip_lines=()
rerun_lines=()
failure_lines=()
not_run_lines=()
status=0
plovix_regex_escape() { sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1"; }
# run_suite NAME PRESET [ctest arguments]: counts the tests in ctest's JUnit
# report. The displays' start and stop (label fixture) are not counted
# unless they fail, so that a suite that ran none of its own tests says so.
run_suite() {
    local name=$1 preset=$2 report fixtures
    shift 2
    report=$(mktemp)
    plovix_log "testing $name"
    local code=0 reruns=${#rerun_lines[@]}
    ctest --preset "$preset" --output-junit "$report" "$@" || code=$?
    fixtures=$(ctest --preset "$preset" -N -L '^fixture$' | sed -n 's/^ *Test *#[0-9]*: //p')
    passed[$name]=0
    failed[$name]=0
    skipped[$name]=0
    # One line a test: its status (run, fail, skipped, or fixture when a
    # fixture it needs failed, which fails it too), its name, and a skipped
    # one's reason, which GoogleTest prints on the line after "Skipped", or
    # the fixture that failed.
    local state test reason
    while IFS=$'\t' read -r state test reason; do
        if grep -qxF -- "$test" <<<"$fixtures" && [ "$state" = run ]; then
            continue
        fi
        case $state in
        run) passed[$name]=$((passed[$name] + 1)) ;;
        spun)
            # Only that hang, and only once, is run again.
            if ctest --preset "$preset" -R "^$(plovix_regex_escape "$test")\$" \
                --output-on-failure </dev/null; then
                passed[$name]=$((passed[$name] + 1))
                rerun_lines+=("rerun: Wine's server spun: $name: $test, passed on a fresh display and prefix")
            else
                failed[$name]=$((failed[$name] + 1))
                failure_lines+=("$name: $test (failed again after the Wine server spun); rerun: ctest --preset $preset -R '^$(plovix_regex_escape "$test")\$'")
            fi
            ;;
        skipped)
            skipped[$name]=$((skipped[$name] + 1))
            skip_lines+=("$name: $test: $reason")
            ;;
        *)
            [ "$state" = fixture ] && state="not run: its fixture $reason failed"
            failed[$name]=$((failed[$name] + 1))
            failure_lines+=("$name: $test ($state); rerun: ctest --preset $preset -R '^$(plovix_regex_escape "$test")\$'")
            ;;
        esac
    done < <(awk '
        function flush() { if (test != "") print state "\t" test "\t" reason; test = "" }
        /<testcase / {
            flush()
            match($0, /name="[^"]*"/); test = substr($0, RSTART + 6, RLENGTH - 7)
            match($0, /status="[a-z]*"/); state = substr($0, RSTART + 8, RLENGTH - 9)
            reason = ""
        }
        /watchdog: the Wine server spun/ && state == "fail" { state = "spun" }
        /<skipped/ { state = "skipped" }
        /<skipped message="Fixture dependency failed"/ { state = "fixture" }
        /Failed test dependencies: / {
            sub(/.*Failed test dependencies: /, ""); sub(/<\/system-out>.*/, ""); reason = $0
        }
        waiting { reason = $0; waiting = 0 }
        /: Skipped$/ { waiting = 1 }
        END { flush() }' "$report")
    suites+=("$name")
    # A failure is one counted, or CTest's own when no test was rerun.
    if [ "${failed[$name]}" -gt 0 ] || { [ $code -ne 0 ] && [ ${#rerun_lines[@]} -eq "$reruns" ]; }; then
        status=1
    fi
    if [ "${passed[$name]}" -eq 0 ] && [ "${failed[$name]}" -eq 0 ]; then
        plovix_log "$name ran no test of its own"
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

# CTest knows the matrix: each Windows test carries the label of the display
# it runs on, and the display is a fixture that CTest starts and ends around
# its tests; the win64 build also has the installer tests, labelled installer.
# A suite is one build's tests of one label. Each build names the suites it
# must have (expected-suites.txt, written by CMake from its displays): one
# that has no test fails the command, and one that cannot run here is listed.
for preset in win32 win64; do
    mapfile -t expected <"build/$preset/expected-suites.txt"
    if [ "$preset" = win32 ] && ! plovix_can_run_wine32; then
        for label in "${expected[@]}"; do
            not_run_lines+=("$preset@$label: $PLOVIX_WINE32_CAUSE")
        done
        continue
    fi
    if [ "$preset" = win64 ] && ! plovix_can_run_wine32; then
        not_run_lines+=("win64@installer's 32-bit passes: the released 32-bit installer in a 32-bit prefix, and the x86 package; a 64-bit build of the installer stands in for it ($PLOVIX_WINE32_CAUSE)")
    fi
    mapfile -t labels < <(ctest --preset "$preset" --print-labels | sed -n 's/^  *//p' | grep -vx fixture)
    for label in "${expected[@]}"; do
        if ! printf '%s\n' "${labels[@]}" | grep -qxF -- "$label"; then
            plovix_log "$preset@$label: no test carries the label $label"
            failure_lines+=("$preset@$label: the suite has no test")
            status=1
        fi
    done
    for label in "${labels[@]}"; do
        run_suite "$preset@$label" "$preset" -L "^$label\$"
    done
done

plovix_log "waiting for clang-tidy"
passed[clang-tidy]=0
failed[clang-tidy]=0
if wait "$tidy"; then
    passed[clang-tidy]=1
else
    cat "$tidy_log"
    failed[clang-tidy]=1
    failure_lines+=("clang-tidy: its findings are above; rerun: bash -c 'source scripts/lib/environment.sh && source scripts/lib/tidy.sh && plovix_tidy'")
    status=1
fi
rm -f "$tidy_log"
suites+=(clang-tidy)

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
for line in "${not_run_lines[@]}"; do
    echo "not run: $line"
done
# A machine that must prove both builds fails on any suite left out.
if [ "${PLOVIX_REQUIRE_ALL_SUITES:-0}" = 1 ] && [ ${#not_run_lines[@]} -gt 0 ]; then
    echo "FAILED: PLOVIX_REQUIRE_ALL_SUITES=1, and ${#not_run_lines[@]} suites could not run"
    status=1
fi
for line in "${rerun_lines[@]}"; do
    echo "$line"
done
for line in "${skip_lines[@]}"; do
    echo "skipped in $line"
done
for line in "${failure_lines[@]}"; do
    echo "FAILED $line"
done
echo "Total: $all_passed passed, $all_failed failed, $all_skipped skipped," \
    "${#not_run_lines[@]} suites not run"
exit $status

#!/usr/bin/env bash
# The test command. Installs what is missing, builds the host, win32 and
# win64 presets, the Windows programs with clang too (win32-clang,
# win64-clang, warnings as errors) and the fuzz preset, and runs every suite
# with CTest: the host one natively, the Windows ones under Wine, one display
# at a time (CTest starts each display and its Wine prefix), with the
# installer's, and beside them the fuzz targets over their seeds and 20 s of
# fuzzing each, one at a time (label fuzz), then clang-tidy (label tidy) over
# every source. The host build's plovix-testsummary reads CTest's reports and
# prints the summary; exits non-zero if anything fails or no test ran.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_FUZZ_PACKAGES[@]}" \
    "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_SWITCHING_PACKAGES[@]}" \
    "${PLOVIX_PACKAGING_PACKAGES[@]}" "${PLOVIX_INSTALLER_TEST_PACKAGES[@]}" \
    "${PLOVIX_CHECK_PACKAGES[@]}" "${PLOVIX_PICTURE_PACKAGES[@]}"
plovix_ensure_fuzz_packages

for preset in host win32 win64 win32-clang win64-clang fuzz; do
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

reports=$PLOVIX_ROOT/build/test-reports
summary=$PLOVIX_ROOT/build/host/tools/plovix-testsummary
rm -rf "$reports"
mkdir -p "$reports"

# The fuzz targets and then clang-tidy run beside the Windows suites, at the
# lowest priority: the suites mostly wait on Wine, and these take what they
# leave of every core.
(
    status=0
    nice -n 19 ctest --preset fuzz -L '^fuzz$' --output-junit "$reports/fuzz.xml" || status=1
    for preset in win64-clang host fuzz; do
        nice -n 19 ctest --preset "$preset" -L '^tidy$' \
            --output-junit "$reports/$preset@tidy.xml" || status=1
    done
    exit $status
) >"$reports/beside.log" 2>&1 &
beside=$!
trap 'kill "$beside" 2>/dev/null || true' EXIT

# suite NAME PRESET [ctest arguments]: runs one suite, whose reports the
# summary reads. A test that failed by a fault of Wine's own, which it names,
# runs again on a fresh display, twice at most: a run again may meet another,
# such as a new prefix after a spun server losing the display devices.
suites=()
suite() {
    local name=$1 preset=$2 again round report
    shift 2
    plovix_log "testing $name"
    report=$reports/$name.xml
    ctest --preset "$preset" --output-junit "$report" "$@" || true
    for round in 1 2; do
        again=$("$summary" --wine-faults "$report")
        [ -n "$again" ] || break
        plovix_log "a fault of Wine's own; running $again again"
        report=$reports/$name.rerun$round.xml
        ctest --preset "$preset" -R "$again" --output-junit "$report" || true
    done
    suites+=("$name=$reports/$name.xml")
}

suite host host -LE '^tidy$'

# CTest knows the matrix: each Windows test carries the label of the display
# it runs on, and the display is a fixture that CTest starts and ends around
# its tests; the win64 build also has the installer tests, labelled installer.
# A suite is one build's tests of one label. Each build names the suites it
# must have (expected-suites.txt, written by CMake from its displays): one
# that has no test fails the command, and one that cannot run here is listed.
arguments=()
for preset in win32 win64; do
    arguments+=(--expected "$preset=build/$preset/expected-suites.txt")
    if [ "$preset" = win32 ] && ! plovix_can_run_wine32; then
        arguments+=(--not-run "win32=$PLOVIX_WINE32_CAUSE" --not-run "win64@installer's 32-bit \
passes=the released 32-bit installer in a 32-bit prefix, and the x86 package; a 64-bit build of \
the installer stands in for it ($PLOVIX_WINE32_CAUSE)")
        continue
    fi
    ctest --preset "$preset" -N -L '^fixture$' >"$reports/$preset.fixtures"
    arguments+=(--fixtures "$preset=$reports/$preset.fixtures")
    for label in $(ctest --preset "$preset" --print-labels | sed -n 's/^  *//p'); do
        [ "$label" = fixture ] || suite "$preset@$label" "$preset" -L "^$label\$"
    done
done

plovix_log "waiting for the fuzz targets and clang-tidy"
wait "$beside" || cat "$reports/beside.log"
suites+=("fuzz=$reports/fuzz.xml")
for preset in win64-clang host fuzz; do
    suites+=("$preset@tidy=$reports/$preset@tidy.xml")
done
plovix_log "the test command took $((SECONDS / 60)) min $((SECONDS % 60)) s"
"$summary" "${arguments[@]}" "${suites[@]}"

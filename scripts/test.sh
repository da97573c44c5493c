#!/usr/bin/env bash
# The test command. Installs what is missing, builds the host, win32 and
# win64 presets and runs every suite: the host one natively, the Windows ones
# under Wine in a private virtual display. Exits non-zero if anything fails or
# no test ran.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_WINE_PACKAGES[@]}"
trap plovix_cleanup EXIT

for preset in host win32 win64; do
    plovix_log "building $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

declare -A passed failed
status=0
run_suite() {
    local preset=$1 log
    log=$(mktemp)
    plovix_log "testing $preset"
    ctest --preset "$preset" 2>&1 | tee "$log" || status=1
    local total failures
    total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log" | tail -1)
    failures=$(sed -n 's/.*, \([0-9]*\) tests failed out of [0-9]*$/\1/p' "$log" | tail -1)
    passed[$preset]=$((${total:-0} - ${failures:-0}))
    failed[$preset]=${failures:-0}
    if [ "${total:-0}" -eq 0 ]; then
        plovix_log "$preset ran no test"
        status=1
    fi
    rm -f "$log"
}

run_suite host

plovix_start_display 800x600
plovix_start_wine "$PLOVIX_ROOT/build/wine/800x600"
suites=(host)
if plovix_can_run_wine32; then
    run_suite win32
    suites+=(win32)
else
    plovix_log "win32 built but not tested: this machine's kernel cannot run 32-bit programs," \
        "so 32-bit Wine cannot start here"
fi
run_suite win64
suites+=(win64)

all_passed=0
all_failed=0
for preset in "${suites[@]}"; do
    printf '%-6s %4d passed, %d failed\n' "$preset:" "${passed[$preset]}" "${failed[$preset]}"
    all_passed=$((all_passed + passed[$preset]))
    all_failed=$((all_failed + failed[$preset]))
done
echo "Total: $all_passed passed, $all_failed failed"
exit $status

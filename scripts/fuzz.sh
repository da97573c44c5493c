#!/usr/bin/env bash
# The fuzz command: ./scripts/fuzz.sh [SECONDS]
#
# Installs what is missing, builds the fuzz preset (clang with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs its tests labelled
# fuzz: every target over its seeds in fuzz/corpus, then fuzzing for SECONDS
# (60 by default) with the dictionary fuzz/plovix.dict. Prints each target's
# executions and their rate. Exits non-zero if a target crashed or broke one
# of its properties, printing where the input that did it is kept.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [SECONDS]" >&2
    exit 2
fi

plovix_ensure_fuzz_packages
if ! configure_log=$(cmake --preset fuzz 2>&1); then
    printf '%s\n' "$configure_log" >&2
    plovix_log "configuring fuzz failed"
    exit 1
fi
cmake --build --preset fuzz
PLOVIX_FUZZ_SECONDS=$seconds ctest --preset fuzz -L '^fuzz$' --verbose

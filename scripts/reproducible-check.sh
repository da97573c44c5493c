#!/usr/bin/env bash
# The reproducibility check: ./scripts/reproducible-check.sh
#
# Proves that the same commit gives the same bytes: clones the committed HEAD
# twice into fresh temporary folders of different names, makes the packages
# in each with ./scripts/package.sh (both savers built from scratch), then
# compares both savers, the installer, the archive and the Windows Installer
# packages byte for byte and prints their SHA-256 sums. Exits non-zero when a
# file differs. Removes the clones on every way out; their build logs stay in
# build/reproducible-check/.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}"

commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain)" ]; then
    plovix_log "checking the committed $commit; uncommitted changes are not part of the check"
fi
LOGS=$PLOVIX_ROOT/build/reproducible-check
mkdir -p "$LOGS"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

clones=(first second-clone)
for clone in "${clones[@]}"; do
    plovix_log "packaging $commit in $work/$clone"
    git clone -q --no-checkout "$PLOVIX_ROOT" "$work/$clone"
    git -C "$work/$clone" checkout -q "$commit"
    if ! "$work/$clone/scripts/package.sh" >"$LOGS/$clone.log" 2>&1; then
        plovix_log "packaging failed; see $LOGS/$clone.log"
        exit 1
    fi
done

status=0
cd "$work/${clones[0]}"
for file in build/win32/Plovix.scr build/win64/Plovix.scr build/win64/packages/*.exe \
    build/win64/packages/*.zip build/win64/packages/*.msi; do
    if cmp -s "$file" "$work/${clones[1]}/$file"; then
        sha256sum "$file"
    else
        plovix_log "$file differs between the two clones"
        status=1
    fi
done
if [ $status -eq 0 ]; then
    plovix_log "both clones gave the same bytes"
fi
exit $status

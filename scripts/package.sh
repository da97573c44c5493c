#!/usr/bin/env bash
# The package command: ./scripts/package.sh
#
# Installs what is missing, builds the saver of the win32 and win64 presets
# and makes the release packages from both in build/win64/packages/: the
# installer Plovix-<version>-setup.exe and the archive Plovix-<version>.zip.
# Dates inside come from the commit (SOURCE_DATE_EPOCH, when set, wins), so
# the same commit gives the same bytes. Prints the packages' paths.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH

for preset in win32 win64; do
    plovix_log "building the $preset saver"
    if ! configure_log=$(cmake --preset "$preset" 2>&1); then
        printf '%s\n' "$configure_log" >&2
        plovix_log "configuring $preset failed"
        exit 1
    fi
    cmake --build --preset "$preset" --target Plovix
done

plovix_log "making the packages"
# cpack itself, not the package target, which would build every test first.
packages=$PLOVIX_ROOT/build/win64/packages
rm -f "$packages"/*.exe "$packages"/*.zip
(cd build/win64 && cpack --config CPackConfig.cmake >/dev/null)
cmake --build --preset win64 --target release-archive >/dev/null
ls "$packages"/*.exe "$packages"/*.zip

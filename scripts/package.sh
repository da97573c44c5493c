#!/usr/bin/env bash
# The package command: ./scripts/package.sh
#
# Installs what is missing, builds the saver of the win32 and win64 presets
# and makes the release packages from both in build/win64/packages/: the
# installer Plovix-<version>-setup.exe, the archive Plovix-<version>.zip,
# the Windows Installer packages Plovix-<version>-x64.msi and -x86.msi, and
# the acceptance kit for a Windows PC, Plovix-<version>-acceptance.zip. Dates
# inside come from the commit (SOURCE_DATE_EPOCH, when set, wins), so the same
# commit gives the same bytes. SHA256SUMS beside them lists their SHA-256
# sums. Prints the files' paths.
#
# Given the web folder the release's files will be published in, as
#   PLOVIX_RELEASE_URL         e.g. https://example.org/plovix/1.0.0/
# it also writes the Windows package manager's (winget's) manifests of the
# release into build/win64/packages/winget/ and prints their paths.
#
# Given a code-signing certificate, both savers (in every package), the
# uninstaller, the installer and the Windows Installer packages are signed
# with Authenticode:
#   PLOVIX_SIGN_PKCS12         the certificate and its key, a PKCS#12 file
#   PLOVIX_SIGN_PASSWORD       its password, read once, before any other
#                              program starts, and taken out of the environment
#   PLOVIX_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional; without
#                              one the signing time is the commit's)
set -euo pipefail

# Every program of the build would inherit the password, and the same user
# and root can read a process's environment: it is kept in this shell alone
# until it is in a file, and the signing script is given the file.
sign_password=${PLOVIX_SIGN_PASSWORD:-}
unset PLOVIX_SIGN_PASSWORD PLOVIX_SIGN_PASSWORD_FILE

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

if [ -n "$sign_password" ]; then
    # mktemp's folder is the signing user's alone; it goes on every way out,
    # an interrupted run leaving by exit too.
    password_folder=$(mktemp -d)
    trap 'rm -rf "$password_folder"' EXIT
    trap 'exit 1' HUP INT TERM
    (
        umask 077
        printf '%s' "$sign_password" >"$password_folder/password"
    )
    export PLOVIX_SIGN_PASSWORD_FILE=$password_folder/password
fi
unset sign_password

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH

if [ -n "${PLOVIX_SIGN_PKCS12:-}" ]; then
    if [ ! -r "$PLOVIX_SIGN_PKCS12" ]; then
        plovix_log "cannot read the certificate $PLOVIX_SIGN_PKCS12 (PLOVIX_SIGN_PKCS12)"
        exit 1
    fi
    plovix_log "signing with $PLOVIX_SIGN_PKCS12"
else
    plovix_log "not signed: no code-signing certificate given (PLOVIX_SIGN_PKCS12)"
fi
if [ -z "${PLOVIX_RELEASE_URL:-}" ]; then
    plovix_log "no winget manifests: no release URL given (PLOVIX_RELEASE_URL)"
fi

for preset in win32 win64; do
    plovix_log "building the $preset saver and the acceptance kit's programs"
    if ! configure_log=$(cmake --preset "$preset" 2>&1); then
        printf '%s\n' "$configure_log" >&2
        plovix_log "configuring $preset failed"
        exit 1
    fi
    cmake --build --preset "$preset" --target Plovix acceptance-programs
done

plovix_log "making the packages"
# cpack itself, not the package target, which would build every test first.
packages=$PLOVIX_ROOT/build/win64/packages
rm -rf "$packages"/*.exe "$packages"/*.zip "$packages"/*.msi "$packages"/SHA256SUMS \
    "$packages"/winget
(cd build/win64 && cpack --config CPackConfig.cmake >/dev/null)
# The manifests come last: they name every other package. Without
# PLOVIX_RELEASE_URL none are written.
if ! build_log=$(cmake --build --preset win64 --target release-archive release-msi \
    acceptance-kit 2>&1) ||
    ! manifests_log=$(cmake --build --preset win64 --target winget-manifests 2>&1); then
    printf '%s\n' "$build_log" "${manifests_log:-}" >&2
    plovix_log "making the archive, the MSIs, the acceptance kit or the winget manifests failed"
    exit 1
fi
(cd "$packages" && sha256sum -- *.exe *.zip *.msi >SHA256SUMS)
ls "$packages"/*.exe "$packages"/*.zip "$packages"/*.msi "$packages"/SHA256SUMS
if [ -d "$packages/winget" ]; then
    ls "$packages"/winget/*.yaml
fi

#!/usr/bin/env bash
# sign.sh FILE PRODUCT: signs the Windows program FILE in place with
# Authenticode, described as PRODUCT (the project's description), when a
# code-signing certificate is given; does nothing otherwise. The
# package command calls it for the staged savers and the archive's copies,
# and makensis for the uninstaller and the installer it writes.
#
#   PLOVIX_SIGN_PKCS12         the certificate and its key, a PKCS#12 file
#   PLOVIX_SIGN_PASSWORD_FILE  a file holding its password, which the package
#                              command writes from PLOVIX_SIGN_PASSWORD
#   PLOVIX_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional)
#
# Without a time-stamp server the signing time is SOURCE_DATE_EPOCH (the
# commit's time), so that the same commit and certificate give the same
# bytes.
set -euo pipefail

file=${1:?usage: sign.sh FILE PRODUCT}
product=${2:?usage: sign.sh FILE PRODUCT}
[ -n "${PLOVIX_SIGN_PKCS12:-}" ] || exit 0
# Met here, the password has already passed through the environment of
# every program between the package command and this one (CMake, CPack,
# makensis), where the same user and root can read it: signing stops rather
# than hide that.
if [ -n "${PLOVIX_SIGN_PASSWORD:-}" ]; then
    echo "sign.sh: PLOVIX_SIGN_PASSWORD is in the environment of the build's programs;" \
        "sign with ./scripts/package.sh, which takes it out before any starts" >&2
    exit 1
fi

# osslsigncode writes a file of its own and never over one. The folder is
# the signing user's alone, and goes on every way out: an interrupted run
# leaves by exit too.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
arguments=(sign -pkcs12 "$PLOVIX_SIGN_PKCS12" -h sha256 -n "$product")
# Any user may read a process's command line, so the password reaches
# osslsigncode in a file.
if [ -n "${PLOVIX_SIGN_PASSWORD_FILE:-}" ]; then
    arguments+=(-readpass "$PLOVIX_SIGN_PASSWORD_FILE")
fi
if [ -n "${PLOVIX_SIGN_TIMESTAMP_URL:-}" ]; then
    arguments+=(-ts "$PLOVIX_SIGN_TIMESTAMP_URL")
else
    arguments+=(-time "${SOURCE_DATE_EPOCH:?the signing time comes from SOURCE_DATE_EPOCH}")
fi
signed=$work/signed
if ! output=$(osslsigncode "${arguments[@]}" -in "$file" -out "$signed" 2>&1); then
    printf '%s\n' "$output" >&2
    echo "sign.sh: could not sign $file" >&2
    exit 1
fi
# Written over, so that the file keeps its mode.
cat "$signed" >"$file"

#!/usr/bin/env bash
# The installer test's packages: made by ./scripts/package.sh with a
# throwaway self-signed code-signing certificate, made here with openssl, so
# that the test installs what a signed release holds. The certificate stays
# in build/test-signer/ for the test to check every signature against. Then
# a 64-bit build of the installer from the same script, signed too, into
# PLOVIX_TEST_INSTALLER_64, for the test where 32-bit programs cannot run.
#
# Signing runs through an osslsigncode earlier on PATH that fails when the
# certificate's password is among its arguments, where every local user
# could read it, or comes in a file that others may read, and otherwise
# runs the real one; each password file it was given must be gone once the
# packages are made.
set -euo pipefail
: "${PLOVIX_TEST_INSTALLER_64:?the path of the 64-bit installer to make}"

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_PACKAGING_PACKAGES[@]}"
signer=$PLOVIX_ROOT/build/test-signer
rm -rf "$signer"
mkdir -p "$signer/bin"
export PLOVIX_SIGN_PKCS12=$signer/signer.p12 PLOVIX_SIGN_PASSWORD=plovix-test-$RANDOM$RANDOM
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Plovix test signer" \
    -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
    -keyout "$signer/key.pem" -out "$signer/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$signer/key.pem" -in "$signer/cert.pem" \
    -out "$PLOVIX_SIGN_PKCS12" -passout env:PLOVIX_SIGN_PASSWORD

password_files=$signer/password-files
cat >"$signer/bin/osslsigncode" <<SHIM
#!/usr/bin/env bash
previous=
for argument in "\$@"; do
    if [[ \$argument == *"\$PLOVIX_SIGN_PASSWORD"* ]]; then
        echo "osslsigncode: the certificate's password is on the command line" >&2
        exit 1
    fi
    if [ "\$previous" = -readpass ]; then
        if [ "\$(stat -c %a "\$argument")" != 600 ]; then
            echo "osslsigncode: others may read the password file \$argument" >&2
            exit 1
        fi
        printf '%s\n' "\$argument" >>"$password_files"
    fi
    previous=\$argument
done
exec $(command -v osslsigncode) "\$@"
SHIM
chmod +x "$signer/bin/osslsigncode"
PATH=$signer/bin:$PATH ./scripts/package.sh
mkdir -p "$(dirname "$PLOVIX_TEST_INSTALLER_64")"
# Signed at the packages' time; where every branch for 32-bit Windows is
# dead, makensis warns of its labels, so only errors are shown.
PATH=$signer/bin:$PATH SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) makensis -V1 \
    -DPLOVIX_TARGET=amd64-unicode \
    "-DPLOVIX_OUT_FILE=$PLOVIX_TEST_INSTALLER_64" build/win64/packages/_CPack_Packages/*/NSIS/project.nsi

if [ ! -s "$password_files" ]; then
    plovix_log "no password reached osslsigncode in a file"
    exit 1
fi
while IFS= read -r file; do
    if [ -e "$file" ]; then
        plovix_log "the password file $file outlived its signing"
        exit 1
    fi
done <"$password_files"

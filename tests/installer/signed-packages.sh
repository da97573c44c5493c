#!/usr/bin/env bash
# The installer test's packages: made by ./scripts/package.sh with a
# throwaway self-signed code-signing certificate, made here with openssl, so
# that the test installs what a signed release holds. The certificate stays
# in build/test-signer/ for the test to check every signature against. Then
# a 64-bit build of the installer from the same script, signed too, into
# PLOVIX_TEST_INSTALLER_64, for the test where 32-bit programs cannot run.
#
# The package command must take the certificate's password out of the
# environment before it starts any program: the programs it runs on PATH,
# and those they start, run through shims here that fail when they find it
# in theirs, and osslsigncode's fails when the password is among its
# arguments, where every local user could read it, or comes in a file that
# others may read. Each password file it was given must be gone once the
# packages are made.
set -euo pipefail
: "${PLOVIX_TEST_INSTALLER_64:?the path of the 64-bit installer to make}"

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_require_packages "${PLOVIX_PACKAGING_PACKAGES[@]}"
signer=$PLOVIX_ROOT/build/test-signer
rm -rf "$signer"
mkdir -p "$signer/bin"
export PLOVIX_SIGN_PKCS12=$signer/signer.p12
# The password goes to the package command alone; openssl and the 64-bit
# installer's makensis read it in a file.
password=plovix-test-$RANDOM$RANDOM
password_file=$signer/password
(
    umask 077
    printf '%s' "$password" >"$password_file"
)
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Plovix test signer" \
    -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
    -keyout "$signer/key.pem" -out "$signer/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$signer/key.pem" -in "$signer/cert.pem" \
    -out "$PLOVIX_SIGN_PKCS12" -passout "file:$password_file"

# Every shim notes that it ran, and why it refused in $refusals, since some
# callers (CPack of makensis) keep what a program says in logs of their own.
# The compilers and ninja are not shimmed: CMake runs them by the paths it
# cached, and they inherit cmake's environment.
shimmed=(cmake cpack makensis faketime wixl msiinfo msibuild zip osslsigncode)
started=$signer/started
refusals=$signer/refusals
password_files=$signer/password-files
for program in "${shimmed[@]}"; do
    cat >"$signer/bin/$program" <<SHIM
#!/usr/bin/env bash
refuse() {
    echo "$program: \$*" >&2
    echo "$program: \$*" >>'$refusals'
    exit 1
}
echo $program >>'$started'
if grep -qzF -- '$password' /proc/\$\$/environ; then
    refuse "started with the certificate's password in its environment"
fi
SHIM
    if [ "$program" = osslsigncode ]; then
        cat >>"$signer/bin/$program" <<SHIM
previous=
for argument in "\$@"; do
    if [[ \$argument == *'$password'* ]]; then
        refuse "the certificate's password is on the command line"
    fi
    if [ "\$previous" = -readpass ]; then
        if [ "\$(stat -c %a "\$argument")" != 600 ]; then
            refuse "others may read the password file \$argument"
        fi
        printf '%s\n' "\$argument" >>'$password_files'
    fi
    previous=\$argument
done
SHIM
    fi
    echo "exec $(command -v "$program") \"\$@\"" >>"$signer/bin/$program"
    chmod +x "$signer/bin/$program"
done
# refused: names each refusal of a shim; fails when there was none.
refused() {
    [ -s "$refusals" ] || return 1
    while IFS= read -r line; do
        plovix_log "$line"
    done <"$refusals"
}

if ! PATH=$signer/bin:$PATH PLOVIX_SIGN_PASSWORD=$password ./scripts/package.sh; then
    refused || true
    exit 1
fi
mkdir -p "$(dirname "$PLOVIX_TEST_INSTALLER_64")"
# Signed at the packages' time; where every branch for 32-bit Windows is
# dead, makensis warns of its labels, so only errors are shown.
if ! PATH=$signer/bin:$PATH SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) \
    PLOVIX_SIGN_PASSWORD_FILE=$password_file makensis -V1 -DPLOVIX_TARGET=amd64-unicode \
    "-DPLOVIX_OUT_FILE=$PLOVIX_TEST_INSTALLER_64" build/win64/packages/_CPack_Packages/*/NSIS/project.nsi; then
    refused || true
    exit 1
fi
rm "$password_file"

if refused; then
    exit 1
fi
for program in "${shimmed[@]}"; do
    if ! grep -qx "$program" "$started"; then
        plovix_log "$program never ran through its shim, so nothing proves it ran without the password"
        exit 1
    fi
done
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

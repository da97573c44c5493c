#!/usr/bin/env bash
# The installer test's packages: made by ./scripts/package.sh with a
# throwaway self-signed code-signing certificate, made here with openssl, so
# that the test installs what a signed release holds. The certificate stays
# in build/test-signer/ for the test to check every signature against.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_PACKAGING_PACKAGES[@]}"
signer=$PLOVIX_ROOT/build/test-signer
rm -rf "$signer"
mkdir -p "$signer"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Plovix test signer" \
    -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
    -keyout "$signer/key.pem" -out "$signer/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$signer/key.pem" -in "$signer/cert.pem" \
    -out "$signer/signer.p12" -passout pass:plovix-test
PLOVIX_SIGN_PKCS12=$signer/signer.p12 PLOVIX_SIGN_PASSWORD=plovix-test ./scripts/package.sh

#!/usr/bin/env bash
# The Windows Installer package test: tests/installer/msi-test.sh
#
# Installs the packages made by ./scripts/package.sh as an administrator
# would, with msiexec /qn, in a fresh Wine prefix of a 64-bit Windows (the
# x64 package, then the x86 one) and of a 32-bit Windows (the x86 one), each
# in a private virtual display, and checks what the administrator would find:
# the archive's saver of the package's architecture in the system folder
# Windows gives that architecture and nowhere else, the uninstall entry under
# the package's product code with its icon, the user's saver settings
# untouched, an upgrade in place from an older version made here from the
# same template, an older package refused where a newer version is, and an
# uninstall that leaves nothing behind. With PLOVIX_TEST_SIGNER, the
# certificate the packages were signed with, it also checks both packages'
# signatures. Each failure prints what was expected and what was found; the
# last line is "N passed, N failed". Exits non-zero when a check failed.
#
# What Wine cannot show: Windows Installer keeps a versioned file that stands
# where a package puts an unversioned one, which is why the package gives the
# saver its version; Wine's msiexec replaces the file either way. The 32-bit
# Windows needs a kernel that runs 32-bit programs; where it cannot, that
# part is skipped, said in one line. Group Policy, Intune and Configuration
# Manager are not tested here.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}" unzip
WORK=$(mktemp -d)
trap 'plovix_cleanup; rm -rf "$WORK"' EXIT

# What the packages were made with, from their own settings, and the savers'
# names in the archive from the installer's.
CHECKS=msi
source tests/installer/checks.sh
SETTINGS=build/win64/release-msi/settings.cmake
if [ ! -f "$SETTINGS" ] || [ ! -f "$CPACK_CONFIG" ]; then
    plovix_log "no packages in build/win64: make them with ./scripts/package.sh"
    exit 1
fi
setting() { sed -n "s/^set($1 \"\(.*\)\")\$/\1/p" "$SETTINGS"; }
VERSION=$(setting RELEASE_VERSION)
PRODUCT=$(setting PRODUCT)
SAVER_FILE=$(setting SAVER_FILE)
declare -A PACKAGE=([x64]=$(setting PACKAGE_x64) [x86]=$(setting PACKAGE_x86))
ARCHIVE=build/win64/packages/Plovix-$VERSION.zip
RELEASED=$WORK/released
declare -A SAVER_STATE=([x64]="the 64-bit saver" [x86]="the 32-bit saver")
ICON=$(setting ICON)
DESKTOP_KEY='HKCU\Control Panel\Desktop'
# Older than any release.
OLDER_VERSION=0.0.1
OLDER_SAVER=$WORK/older.scr
OLDER_PACKAGE=$WORK/Plovix-$OLDER_VERSION-x64.msi


# run_msiexec ACTION PACKAGE: runs msiexec silently in the current prefix and
# prints its exit code as Linux sees it, the low byte (1603 is 67); one that
# has not ended after two minutes counts as hanging (124).
run_msiexec() {
    local code=0
    timeout 120 "$loader" msiexec "$1" "$2" /qn >/dev/null 2>&1 || code=$?
    printf '%s\n' "$code"
}
exit_code() { echo $(($1 % 256)); }

product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }

# The uninstall entries of the architecture's registry view in the prefix.
uninstall_folder() {
    if [ "$bits" = 64 ] && [ "$1" = x86 ]; then
        echo 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
    else
        echo 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    fi
}


# How many uninstall entries of an architecture name the product.
entries() {
    "$loader" reg query "$(uninstall_folder "$1")" /s 2>/dev/null | tr -d '\r' |
        grep -c "^ *DisplayName \{2,\}REG_SZ \{2,\}$PRODUCT\$" || true
}


# The icon Apps & features shows for a product code: the product's
# registered icon, as a file of the prefix.
product_icon() {
    local path
    path=$("$loader" reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null |
        tr -d '\r' | sed -n "s/^ *ProductIcon \{2,\}REG_SZ \{2,\}\(.*$1.*\)\$/\1/p")
    local file=${path#?:\\}
    if [ -z "$path" ]; then
        echo "(none registered)"
    elif cmp -s "$prefix/drive_c/${file//\\//}" "$ICON"; then
        echo "the project's icon"
    else
        echo "$path, not the project's icon"
    fi
}


desktop_settings() { "$loader" reg query "$DESKTOP_KEY" 2>/dev/null | tr -d '\r'; }
desktop_change() {
    local now
    now=$(desktop_settings)
    if [ "$now" = "$desktop_before" ]; then
        echo unchanged
    else
        diff <(printf '%s\n' "$desktop_before") <(printf '%s\n' "$now") | grep '^[<>]' |
            tr '\n' ' ' || true
    fi
}

# check_installed ARCH FOLDER: the package's saver in the prefix's FOLDER,
# its uninstall entry and icon, and the user's settings as they were.
check_installed() {
    local architecture=$1 folder=$2 code key
    code=$(product_code "${PACKAGE[$architecture]}")
    key="$(uninstall_folder "$architecture")\\$code"
    check "$folder\\$SAVER_FILE" "${SAVER_STATE[$architecture]}" \
        "$(file_state "$prefix/drive_c/windows/$folder/$SAVER_FILE")"
    check "DisplayName under $key" "$PRODUCT" "$(reg_value "$key" DisplayName)"
    check "DisplayVersion" "$VERSION" "$(reg_value "$key" DisplayVersion)"
    check "Publisher" "$(setting PUBLISHER)" "$(reg_value "$key" Publisher)"
    check "icon of $code" "the project's icon" "$(product_icon "$code")"
    check "$DESKTOP_KEY" unchanged "$(desktop_change)"
}

# check_removed ARCH FOLDER: nothing of the package left.
check_removed() {
    local architecture=$1 folder=$2 code
    code=$(product_code "${PACKAGE[$architecture]}")
    check "$folder\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/$folder/$SAVER_FILE")"
    check "uninstall entries" 0 "$(entries "$architecture")"
    check "cached icon folder Installer\\$code" "(absent)" \
        "$([ -e "$prefix/drive_c/windows/Installer/$code" ] && echo present || echo "(absent)")"
    check "$DESKTOP_KEY" unchanged "$(desktop_change)"
}

# Starts a fresh Windows of the given kind (32 or 64 bits).
start_windows() {
    bits=$1
    loader=wine
    [ "$bits" = 64 ] && loader=$PLOVIX_WINE64
    prefix=$PLOVIX_ROOT/build/wine/msi-win$bits
    rm -rf "$prefix"
    plovix_start_display 800x600
    plovix_start_wine "$prefix" "win$bits"
    desktop_before=$(desktop_settings)
}

test_64_bit_windows() {
    start_windows 64

    begin "64-bit Windows, x64 package"
    check "exit code of msiexec /i" 0 "$(run_msiexec /i "${PACKAGE[x64]}")"
    check_installed x64 system32
    check "syswow64\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/syswow64/$SAVER_FILE")"

    begin "64-bit Windows, x64 package removed"
    check "exit code of msiexec /x" 0 "$(run_msiexec /x "${PACKAGE[x64]}")"
    check_removed x64 system32

    begin "64-bit Windows, upgrade from $OLDER_VERSION to $VERSION"
    check "exit code of msiexec /i, $OLDER_VERSION" 0 "$(run_msiexec /i "$OLDER_PACKAGE")"
    check "system32\\$SAVER_FILE" "the older version's file" \
        "$(file_state "$prefix/drive_c/windows/system32/$SAVER_FILE" "$OLDER_SAVER" \
            "the older version's file")"
    check "exit code of msiexec /i, $VERSION" 0 "$(run_msiexec /i "${PACKAGE[x64]}")"
    check "uninstall entries" 1 "$(entries x64)"
    check_installed x64 system32

    begin "64-bit Windows, $OLDER_VERSION where $VERSION is installed"
    check "exit code of msiexec /i (1603)" "$(exit_code 1603)" "$(run_msiexec /i "$OLDER_PACKAGE")"
    check "uninstall entries" 1 "$(entries x64)"
    check_installed x64 system32
    check "exit code of msiexec /x" 0 "$(run_msiexec /x "${PACKAGE[x64]}")"
    check_removed x64 system32

    # 32-bit programs see SysWOW64 as their system folder.
    begin "64-bit Windows, x86 package"
    check "exit code of msiexec /i" 0 "$(run_msiexec /i "${PACKAGE[x86]}")"
    check_installed x86 syswow64
    check "system32\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/system32/$SAVER_FILE")"
    check "exit code of msiexec /x" 0 "$(run_msiexec /x "${PACKAGE[x86]}")"
    check_removed x86 syswow64

    plovix_cleanup
}

test_32_bit_windows() {
    start_windows 32

    begin "32-bit Windows, x86 package"
    check "exit code of msiexec /i" 0 "$(run_msiexec /i "${PACKAGE[x86]}")"
    check_installed x86 system32
    check "exit code of msiexec /x" 0 "$(run_msiexec /x "${PACKAGE[x86]}")"
    check_removed x86 system32

    plovix_cleanup
}

for package in "$ARCHIVE" "${PACKAGE[@]}"; do
    if [ ! -f "$package" ]; then
        plovix_log "no $package: make the packages with ./scripts/package.sh"
        exit 1
    fi
done
unzip -q "$ARCHIVE" -d "$RELEASED"
if [ -n "${PLOVIX_TEST_SIGNER:-}" ]; then
    begin "signatures of the packages"
    for architecture in x64 x86; do
        check "$(basename "${PACKAGE[$architecture]}")" signed \
            "$(signature "${PACKAGE[$architecture]}")"
    done
fi

# An older version of the product, with a file of its own in place of the
# saver, from the same template.
printf 'the saver of version %s\n' "$OLDER_VERSION" >"$OLDER_SAVER"
cmake -D SETTINGS="$SETTINGS" -D ARCH=x64 -D VERSION=$OLDER_VERSION -D SAVER="$OLDER_SAVER" \
    -D STAGE="$WORK/older" -D MSI="$OLDER_PACKAGE" -P cmake/packaging/ReleaseMsi.cmake >/dev/null

test_64_bit_windows
if plovix_can_run_wine32; then
    test_32_bit_windows
else
    plovix_log "msi: 32-bit Windows skipped: this machine's kernel cannot run 32-bit programs"
fi

finish

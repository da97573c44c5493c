#!/usr/bin/env bash
# The Windows Installer package test: tests/installer/msi-test.sh
#
# Checks the packages made by ./scripts/package.sh against the rules of
# Windows Installer's validation (ICE) that their tables could break, then
# installs them as an administrator would, with msiexec /qn, in a fresh Wine
# prefix of a 64-bit Windows (the x64 package; the x86 one, which must refuse
# it) and of a 32-bit Windows (the x86 one), each in a private virtual
# display, and checks what the administrator would find:
# the archive's saver of the package's architecture in the system folder
# Windows gives that architecture and nowhere else, the uninstall entry under
# the package's product code with its icon, the user's saver settings
# untouched, an upgrade in place from an older version made here from the
# same template, an older package refused where a newer version is, the x86
# package refused on 64-bit Windows, changing nothing, where the x64 product
# or an x86 one of an older release is, which the x64 package then replaces,
# and an uninstall that leaves nothing behind. With PLOVIX_TEST_SIGNER, the
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

plovix_require_packages "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}" \
    "${PLOVIX_INSTALLER_TEST_PACKAGES[@]}"
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
OLDER_X86_PACKAGE=$WORK/Plovix-$OLDER_VERSION-x86.msi

# run_msiexec ACTION PACKAGE: runs msiexec silently in the current prefix and
# prints its exit code as Linux sees it, the low byte (1603 is 67); one that
# has not ended after a test's timeout counts as hanging (124).
run_msiexec() {
    local code=0
    timeout "$PLOVIX_TIMEOUT_TEST" "$loader" msiexec "$1" "$2" /qn >/dev/null 2>&1 || code=$?
    printf '%s\n' "$code"
}

product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }
# table PACKAGE NAME: a table's rows, tab-separated, without the header lines.
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }

# check_tables ARCH: the package's tables by the rules of Windows Installer's
# validation that a careless edit of the template or the build could break.
check_tables() {
    local package=${PACKAGE[$1]} files expected
    begin "$(basename "$package"): tables by Windows Installer's rules"
    files=$(table "$package" File)
    # ICE60: a versioned file has a language and no hash. The saver's are its
    # version resource's.
    check "each versioned file: version, language, hash (ICE60)" "Saver $VERSION.0, language 1033, no hash" \
        "$(awk -F'\t' -v hashed=" $(table "$package" MsiFileHash | cut -f1 | paste -sd' ') " '$5 != "" {
            printf "%s %s, language %s, %s\n", $1, $5, ($6 == "" ? "none" : $6),
                (index(hashed, " " $1 " ") ? "hashed" : "no hash") }' <<<"$files" | paste -sd' ')"
    # ICE80: a 64-bit package's components are 64-bit and in 64-bit folders,
    # a 32-bit package's neither; and a component's key path is its own file.
    expected="Intel: Saver 32-bit in SystemFolder, key path its file Saver"
    [ "$1" = x64 ] && expected="x64: Saver 64-bit in System64Folder, key path its file Saver"
    check "platform; each component's bits, folder and key path" "$expected" "$({
        msiinfo suminfo "$package" | sed -n 's/^Template: \([^;]*\);.*/\1:/p'
        awk -F'\t' 'FILENAME == ARGV[1] { owner[$1] = $2; next }
            { printf "%s %s-bit in %s, key path %s\n", $1, (int($4 / 256) % 2 ? 64 : 32), $3,
                (owner[$6] == $1 ? "its file " $6 : "not a file of its own") }' \
            <(printf '%s\n' "$files") <(table "$package" Component)
    } | paste -sd' ')"
    if [ "$1" = x86 ]; then
        check "a launch condition's message names $(basename "${PACKAGE[x64]}")" 1 \
            "$(table "$package" LaunchCondition | cut -f2 | grep -cF "$(basename "${PACKAGE[x64]}")" || true)"
    fi
}

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
    local listing
    listing=$(reg_query "$(uninstall_folder "$1")" /s)
    case $listing in
    "(reg failed"*) printf '%s\n' "$listing" ;;
    *) grep -c "^ *DisplayName \{2,\}REG_SZ \{2,\}$PRODUCT\$" <<<"$listing" || true ;;
    esac
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
    check "$DESKTOP_KEY" unchanged "$(key_change "$DESKTOP_KEY" "$desktop_before")"
}

# check_removed ARCH FOLDER: nothing of the package left.
check_removed() {
    local architecture=$1 folder=$2 code
    code=$(product_code "${PACKAGE[$architecture]}")
    check "$folder\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/$folder/$SAVER_FILE")"
    check "uninstall entries" 0 "$(entries "$architecture")"
    check "cached icon folder Installer\\$code" "(absent)" \
        "$([ -e "$prefix/drive_c/windows/Installer/$code" ] && echo present || echo "(absent)")"
    check "$DESKTOP_KEY" unchanged "$(key_change "$DESKTOP_KEY" "$desktop_before")"
}

# Starts a fresh Windows of the given kind (32 or 64 bits).
start_windows() {
    bits=$1
    loader=wine
    [ "$bits" = 64 ] && loader=$PLOVIX_WINE64
    prefix=$PLOVIX_ROOT/build/wine/msi-win$bits
    rm -rf "$prefix"
    plovix_start_display Xvfb 800x600
    plovix_start_wine "$prefix" "win$bits"
    desktop_before=$(key_state "$DESKTOP_KEY")
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

    # Sharing the upgrade code, the x86 package would replace the x64 product
    # and put the saver where the 64-bit Screen Saver Settings never look.
    begin "64-bit Windows, x86 package where the x64 product is"
    check "exit code of msiexec /i (1603)" "$(exit_code 1603)" "$(run_msiexec /i "${PACKAGE[x86]}")"
    check "uninstall entries" "1 x64, 0 x86" "$(entries x64) x64, $(entries x86) x86"
    check_installed x64 system32
    check "syswow64\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/syswow64/$SAVER_FILE")"
    check "exit code of msiexec /x" 0 "$(run_msiexec /x "${PACKAGE[x64]}")"
    check_removed x64 system32

    # Installed by a release from before the x86 package refused 64-bit Windows.
    begin "64-bit Windows, x86 package where an older x86 product is"
    check "exit code of msiexec /i, x86 $OLDER_VERSION" 0 "$(run_msiexec /i "$OLDER_X86_PACKAGE")"
    check "exit code of msiexec /i, x86 $VERSION (1603)" "$(exit_code 1603)" \
        "$(run_msiexec /i "${PACKAGE[x86]}")"
    check "uninstall entries" "0 x64, 1 x86" "$(entries x64) x64, $(entries x86) x86"
    check "syswow64\\$SAVER_FILE" "the older version's file" \
        "$(file_state "$prefix/drive_c/windows/syswow64/$SAVER_FILE" "$OLDER_SAVER" "the older version's file")"

    begin "64-bit Windows, the x64 package in place of an older x86 product"
    check "exit code of msiexec /i" 0 "$(run_msiexec /i "${PACKAGE[x64]}")"
    check "uninstall entries" "1 x64, 0 x86" "$(entries x64) x64, $(entries x86) x86"
    check "syswow64\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/syswow64/$SAVER_FILE")"
    check_installed x64 system32
    check "exit code of msiexec /x" 0 "$(run_msiexec /x "${PACKAGE[x64]}")"
    check_removed x64 system32

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

for architecture in x64 x86; do check_tables $architecture; done

# An older version of the product, with a file of its own in place of the
# saver, from the same template; its x86 package without the launch
# condition, as a release from before it was.
printf 'the saver of version %s\n' "$OLDER_VERSION" >"$OLDER_SAVER"
sed '/<Condition /d' "$(setting TEMPLATE)" >"$WORK/unconditioned.wxs"
sed "s|^set(TEMPLATE .*|set(TEMPLATE \"$WORK/unconditioned.wxs\")|" "$SETTINGS" >"$WORK/unconditioned.cmake"
for older in "x64 $SETTINGS $OLDER_PACKAGE" "x86 $WORK/unconditioned.cmake $OLDER_X86_PACKAGE"; do
    read -r architecture settings package <<<"$older"
    cmake -D SETTINGS="$settings" -D ARCH="$architecture" -D VERSION=$OLDER_VERSION -D SAVER="$OLDER_SAVER" \
        -D STAGE="$WORK/older-$architecture" -D MSI="$package" -P cmake/packaging/ReleaseMsi.cmake >/dev/null
done

test_64_bit_windows
if plovix_can_run_wine32; then
    test_32_bit_windows
else
    plovix_log "msi: 32-bit Windows skipped: $PLOVIX_WINE32_CAUSE"
fi

finish

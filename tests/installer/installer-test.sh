#!/usr/bin/env bash
# The installer test: tests/installer/installer-test.sh
#
# Runs the installer made by ./scripts/package.sh as an administrator would,
# silently, in a fresh Wine prefix of a 64-bit Windows and one of a 32-bit
# Windows, in a private virtual display, and checks what a user would find:
# the right saver in the right system folder and nowhere else, the user's
# saver settings, the uninstall entry, the installed saver's notice, an
# installer that meets the saver running, and an uninstall that takes away
# what it put there and leaves what it found. With PLOVIX_TEST_SIGNER, the
# certificate the packages were signed with, it also checks the signatures
# of the installer, of both savers in the archive and of what the installer
# puts on the disk. Each failure prints what was expected and what was found;
# the last line is "N passed, N failed". Exits non-zero when a check failed.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}" xdotool unzip
# The savers as the release carries them, signed or not: the archive's.
RELEASED=$(mktemp -d)
trap 'plovix_cleanup; rm -rf "$RELEASED"' EXIT

# What the installer was made with, from the packages' own settings.
CPACK_CONFIG=build/win64/CPackConfig.cmake
cpack_value() { sed -n "s/^set($1 \"\(.*\)\")\$/\1/p" "$CPACK_CONFIG"; }
VERSION=$(cpack_value CPACK_PACKAGE_VERSION)
SETUP=$PLOVIX_ROOT/build/win64/packages/Plovix-$VERSION-setup.exe
ARCHIVE=$PLOVIX_ROOT/build/win64/packages/Plovix-$VERSION.zip
SAVER_FILE=$(cpack_value CPACK_PLOVIX_SAVER_FILE)
SAVER_32=$(cpack_value CPACK_PLOVIX_SAVER_32)
SAVER_64=$(cpack_value CPACK_PLOVIX_SAVER_64)
SAVER_PATH="C:\\windows\\system32\\$SAVER_FILE"
INSTALL_FOLDER=$(cpack_value CPACK_PACKAGE_INSTALL_DIRECTORY)
UNINSTALL_KEY="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(cpack_value \
    CPACK_PACKAGE_INSTALL_REGISTRY_KEY)"
DESKTOP_KEY='HKCU\Control Panel\Desktop'
# A setting of the user's that neither install nor uninstall may touch.
TIMEOUT_SECONDS=600

passed=0
failed=0
group=
begin() {
    group=$1
    plovix_log "installer: $group"
}
# check WHAT EXPECTED FOUND
check() {
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAILED %s: %s\n    expected: %s\n    found:    %s\n' "$group" "$1" "$2" "$3"
    fi
}

# Runs a Windows program of the prefix's own kind and prints its exit code;
# one that has not ended after two minutes counts as hanging (124).
run_windows() {
    local code=0
    timeout 120 "$@" >/dev/null 2>&1 || code=$?
    printf '%s\n' "$code"
}

# reg_value KEY NAME: the value's data, or "(absent)".
reg_value() {
    local output
    output=$("$loader" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || {
        echo "(absent)"
        return
    }
    sed -n "s/^ *$2 \{2,\}REG_[A-Z_]* \{2,\}//p" <<<"$output"
}

# What a path of the prefix holds: which released saver, another file, or
# nothing.
file_state() {
    if [ ! -e "$1" ]; then
        echo "(absent)"
    elif cmp -s "$1" "$RELEASED/$SAVER_32"; then
        echo "the 32-bit saver"
    elif cmp -s "$1" "$RELEASED/$SAVER_64"; then
        echo "the 64-bit saver"
    else
        echo "another file"
    fi
}

# Whether a program carries a signature made with PLOVIX_TEST_SIGNER.
signature() {
    osslsigncode verify -CAfile "$PLOVIX_TEST_SIGNER" -in "$1" >/dev/null 2>&1 &&
        echo "signed" || echo "not signed by the test signer"
}

size_kib() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }
mtime() { stat -c %y "$1" 2>/dev/null || echo "(absent)"; }

# await CONDITION...: true once the command succeeds, false after about 30 s.
await() {
    local tries
    for ((tries = 0; tries < 300; tries++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

window_shown() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
process_ended() { ! kill -0 "$1" 2>/dev/null; }

# Sets `code` to the exit code of a started saver, ended first if it outlived
# its check.
await_saver_exit() {
    if ! await process_ended "$1"; then
        kill "$1" 2>/dev/null || true
    fi
    code=0
    wait "$1" || code=$?
}

# Installs, uses and removes the saver in a fresh Windows of the given kind
# (32 or 64 bits). With keep_user_saver=yes the user picks another saver
# before the uninstall, which must then keep that choice.
test_windows() {
    local bits=$1 keep_user_saver=$2 prefix system preset=win$1 architecture=win$1
    loader=wine
    [ "$bits" = 64 ] && loader=$PLOVIX_WINE64
    prefix=$PLOVIX_ROOT/build/wine/installer-$architecture
    rm -rf "$prefix"
    plovix_start_wine "$prefix" "$architecture"
    system=$prefix/drive_c/windows/system32
    local program_files="$prefix/drive_c/Program Files/$INSTALL_FOLDER"
    local probe=build/$preset/desktopprobe.exe
    names=$("$loader" "$probe" names | tr -d '\r')
    name_of() { sed -n "s/^$1: //p" <<<"$names"; }
    "$loader" reg add "$DESKTOP_KEY" /v ScreenSaveTimeOut /d $TIMEOUT_SECONDS /f >/dev/null 2>&1

    begin "$bits-bit Windows, silent install"
    check "exit code" 0 "$(run_windows wine "$SETUP" /S)"
    check "system32\\$SAVER_FILE" "the $bits-bit saver" "$(file_state "$system/$SAVER_FILE")"
    if [ "$bits" = 64 ]; then
        check "syswow64\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/syswow64/$SAVER_FILE")"
    fi
    check "SCRNSAVE.EXE" "$SAVER_PATH" "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"
    check "ScreenSaveActive" 1 "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)"
    check "ScreenSaveTimeOut" $TIMEOUT_SECONDS "$(reg_value "$DESKTOP_KEY" ScreenSaveTimeOut)"
    if [ -n "${PLOVIX_TEST_SIGNER:-}" ]; then
        check "signature of system32\\$SAVER_FILE" signed "$(signature "$system/$SAVER_FILE")"
        check "signature of the uninstaller" signed "$(signature "$program_files/Uninstall.exe")"
    fi

    begin "$bits-bit Windows, uninstall entry"
    local uninstaller="C:\\Program Files\\$INSTALL_FOLDER\\Uninstall.exe"
    check "DisplayName" "$(cpack_value CPACK_NSIS_DISPLAY_NAME)" "$(reg_value "$UNINSTALL_KEY" DisplayName)"
    check "DisplayVersion" "$VERSION" "$(reg_value "$UNINSTALL_KEY" DisplayVersion)"
    check "Publisher" "$(cpack_value CPACK_PACKAGE_VENDOR)" "$(reg_value "$UNINSTALL_KEY" Publisher)"
    check "DisplayIcon" "$SAVER_PATH,0" "$(reg_value "$UNINSTALL_KEY" DisplayIcon)"
    check "UninstallString" "\"$uninstaller\"" "$(reg_value "$UNINSTALL_KEY" UninstallString)"
    check "QuietUninstallString" "\"$uninstaller\" /S" \
        "$(reg_value "$UNINSTALL_KEY" QuietUninstallString)"
    local size=unknown
    [ -f "$system/$SAVER_FILE" ] && [ -f "$program_files/Uninstall.exe" ] &&
        size=$(printf '0x%x' $(($(size_kib "$system/$SAVER_FILE") + $(size_kib "$program_files/Uninstall.exe"))))
    check "EstimatedSize (KiB of saver and uninstaller)" "$size" \
        "$(reg_value "$UNINSTALL_KEY" EstimatedSize)"

    begin "$bits-bit Windows, the installed saver's notice"
    local caption saver text=""
    caption=$(name_of 'information caption')
    "$loader" "$SAVER_PATH" /c >/dev/null 2>&1 &
    saver=$!
    PLOVIX_PIDS+=("$saver")
    if await window_shown "$caption"; then
        text=$("$loader" "$probe" answer "$caption" | tr -d '\r') || text="(unreadable)"
    fi
    check "text of the box \"$caption\"" "$(name_of notice)" "${text//$'\n'/\\n}"
    await_saver_exit "$saver"
    check "exit code after OK" 0 "$code"

    begin "$bits-bit Windows, silent install while the saver runs"
    local title before
    title=$(name_of 'window title')
    before=$(mtime "$system/$SAVER_FILE")
    "$loader" "$SAVER_PATH" /s >/dev/null 2>&1 &
    saver=$!
    PLOVIX_PIDS+=("$saver")
    if await window_shown "$title"; then
        check "exit code" 2 "$(run_windows wine "$SETUP" /S)"
        check "system32\\$SAVER_FILE untouched" "$before" "$(mtime "$system/$SAVER_FILE")"
        check "saver still running" yes "$(kill -0 "$saver" 2>/dev/null && echo yes || echo no)"
        xdotool key space
    else
        check "saver window \"$title\"" shown "not shown within 30 s"
    fi
    await_saver_exit "$saver"
    check "saver's exit code after a key" 0 "$code"

    local user_saver=$SAVER_PATH expected_saver="(absent)"
    if [ "$keep_user_saver" = yes ]; then
        user_saver='C:\windows\system32\other.scr'
        expected_saver=$user_saver
        "$loader" reg add "$DESKTOP_KEY" /v SCRNSAVE.EXE /d "$user_saver" /f >/dev/null 2>&1
    fi
    begin "$bits-bit Windows, silent uninstall with $user_saver as the user's saver"
    # The uninstaller hands its work to a copy of itself and returns at once;
    # its last step removes the install folder.
    check "exit code" 0 "$(run_windows wine "$uninstaller" /S)"
    local folder=removed
    await test ! -e "$program_files" || folder="still there after 30 s"
    check "install folder" removed "$folder"
    check "system32\\$SAVER_FILE" "(absent)" "$(file_state "$system/$SAVER_FILE")"
    check "uninstall entry" "(absent)" "$(reg_value "$UNINSTALL_KEY" DisplayName)"
    check "SCRNSAVE.EXE" "$expected_saver" "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"
    check "ScreenSaveActive" 1 "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)"
    check "ScreenSaveTimeOut" $TIMEOUT_SECONDS "$(reg_value "$DESKTOP_KEY" ScreenSaveTimeOut)"

    plovix_cleanup
}

if [ ! -f "$SETUP" ] || [ ! -f "$ARCHIVE" ]; then
    plovix_log "no installer and archive in $(dirname "$SETUP"): make them with ./scripts/package.sh"
    exit 1
fi
unzip -q "$ARCHIVE" -d "$RELEASED"
if [ -n "${PLOVIX_TEST_SIGNER:-}" ]; then
    begin "signatures of the release"
    check "installer" signed "$(signature "$SETUP")"
    for saver in "$RELEASED"/*.scr; do
        check "archive's $(basename "$saver")" signed "$(signature "$saver")"
    done
fi
plovix_start_display 800x600
test_windows 64 no
plovix_start_display 800x600
test_windows 32 yes

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

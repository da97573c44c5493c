#!/usr/bin/env bash
# The installer test: tests/installer/installer-test.sh
#
# Clicks through the installer made by ./scripts/package.sh and its
# uninstaller as a person does, for all users and just for the user, then
# runs them silently both ways, in a fresh Wine prefix of a 64-bit Windows
# and one of a 32-bit Windows, in a private virtual display, and checks what
# a user would find: each page of the wizard and what its finish page
# offers, the right saver in the right folder and nowhere else, the user's
# saver settings (which an install for all users leaves alone), the
# uninstall entry, the installed saver started from a setting as Windows
# starts it, an installer or uninstaller that meets the saver running, a
# read-only saver, an install in the other mode, an uninstaller outside its
# install, and an uninstall that takes away what it put there and leaves
# what it found. With PLOVIX_TEST_SIGNER, the
# certificate the packages were signed with, it also checks the signatures
# of the installer, of both savers in the archive and of what the installer
# puts on the disk. Each failure prints what was expected and what was found;
# the last line is "N passed, N failed". Exits non-zero when a check failed.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_require_packages "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}" \
    "${PLOVIX_PICTURE_PACKAGES[@]}" "${PLOVIX_INSTALLER_TEST_PACKAGES[@]}"
# The savers as the release carries them, signed or not: the archive's.
RELEASED=$(mktemp -d)
trap 'plovix_cleanup; rm -rf "$RELEASED"' EXIT

# What the installer was made with, from the packages' own settings.
CHECKS=installer
source tests/installer/checks.sh
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
UNINSTALL_KEY_USER="HKCU\\${UNINSTALL_KEY#HKLM\\}"
DESKTOP_KEY='HKCU\Control Panel\Desktop'
# A setting of the user's that neither install nor uninstall may touch.
TIMEOUT_SECONDS=600
PRODUCT=$(cpack_value CPACK_NSIS_PACKAGE_NAME)
# The exit codes of the installer and its uninstaller besides 0, pinned
# here, as deployments and the winget manifests know them: Windows' error
# codes for a file in use, another version installed and an unknown product.
EXIT_IN_USE=$(exit_code 32)
EXIT_OTHER_MODE=$(exit_code 1638)
EXIT_NOT_INSTALLED_HERE=$(exit_code 1605)
# What a person sees of the wizard, pinned here: the titles and the texts
# this test waits for and presses.
SETUP_TITLE="$PRODUCT Setup"
UNINSTALL_TITLE="$PRODUCT Uninstall"
BRANDING="$PRODUCT $VERSION"
ALL_USERS_CHOICE="Install for anyone using this computer"
OPEN_SETTINGS="Open the Screen Saver Settings"
SETTINGS_COMMAND='control.exe\" desk.cpl,,@screensaver'

# Runs a Windows program of the prefix's own kind and prints its exit code;
# one that has not ended after a test's timeout counts as hanging (124).
run_windows() {
    local code=0
    timeout "$PLOVIX_TIMEOUT_TEST" "$@" >/dev/null 2>&1 || code=$?
    printf '%s\n' "$code"
}

# What the user sees of the installed saver, pinned here: its window's title,
# its notice's caption and text (line breaks as "\n"), its picture's colours
# at the border and in the text area.
SAVER_TITLE="Plovixscreen Screensaver"
NOTICE_CAPTION="Plovix Screensaver Information"
NOTICE='Sablewick Screensaver by Brannix.\nThis screen saver has no options that you can set.'
PICTURE_COLOURS="srgb(156,156,255) srgb(57,57,222)"

# The Unix path of a path of the prefix, and the user's own programs folder.
unix_path() { "$loader" winepath.exe -u "$1" 2>/dev/null | tr -d '\r'; }
short_path() { "$loader" winepath.exe -s "$1" 2>/dev/null | tr -d '\r'; }
user_programs() { printf '%s\\Programs\n' "$("$loader" cmd /c echo %LOCALAPPDATA% | tr -d '\r')"; }

size_kib() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }
# A file's time, attributes and contents on one line: NSIS gives a file it
# writes the time it was packed with, and checks whether a saver can be
# written by setting its attributes, as they were when it cannot.
changed() { [ -e "$1" ] && echo "$(stat -c '%y %A' "$1") $(sha256sum <"$1" | cut -c1-16)" || echo "(absent)"; }

# await CONDITION...: true once the command succeeds, false after the wait
# for a window.
await() { plovix_poll "$PLOVIX_TIMEOUT_WINDOW" "$@"; }

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

# key_until_ended SAVER: presses a key every half second until the saver
# has ended, as long as await waits: a key pressed just as its window
# appears may reach the window before.
key_ended() { xdotool key space && sleep 0.4 && process_ended "$1"; }
key_until_ended() { await key_ended "$1"; }

# start_saver SAVER FLAG [SECONDS]: starts a saver as Windows starts one from
# the user's setting, as written (previewhost --setting); its id in `saver`,
# what the preview host prints in $RELEASED/started.
start_saver() {
    "$loader" "$host" --setting "$@" >"$RELEASED/started" 2>/dev/null &
    saver=$!
    PLOVIX_PIDS+=("$saver")
}

# preview_shown FILE: whether the screen shows the saver's colours at the
# border and the middle of the preview area that the preview host printed
# into FILE; `colours` holds what it shows there.
preview_shown() {
    local x y width height
    read -r x y width height < <(sed -n 's/^preview area: //p' "$1" | tr -d '\r') || true
    colours="(no preview area)"
    [ -n "${height:-}" ] && colours=$(xwd -root -silent 2>/dev/null | convert xwd:- -format \
        "%[pixel:p{$((x + 2)),$((y + 2))}] %[pixel:p{$((x + width / 2)),$((y + height / 2))}]" \
        info: 2>/dev/null)
    [ "$colours" = "$PICTURE_COLOURS" ]
}

# check_saver_runs SAVER: every way Windows starts the saver of the user's
# setting works: /c shows the notice, /p shows the picture in a preview (where
# the Wine in use shows one process's painting in another's window) that ends
# with its window, /s covers the screen until a key.
check_saver_runs() {
    local text="" colours
    start_saver "$1" /c
    if await window_shown "$NOTICE_CAPTION"; then
        text=$("$loader" "$probe" answer "$NOTICE_CAPTION" | tr -d '\r') || text="(unreadable)"
    fi
    check "$1 /c: text of the box \"$NOTICE_CAPTION\"" "$NOTICE" "${text//$'\n'/\\n}"
    await_saver_exit "$saver"
    check "$1 /c: exit code after OK" 0 "$code"

    # Long enough for its pixels to be read where they can be.
    if grep -qx "shows other processes' children: yes" <<<"$WINE"; then
        start_saver "$1" /p 5
        plovix_poll "$PLOVIX_TIMEOUT_SHORT_WAIT" preview_shown "$RELEASED/started" || true
        check "$1 /p: border and text area of the preview" "$PICTURE_COLOURS" "$colours"
    else
        start_saver "$1" /p 3
        plovix_log "$CHECKS: $group: $1 /p: its picture skipped: $(sed -n 's/^version: //p' <<<"$WINE")" \
            "does not show what one process paints into another's window"
    fi
    await_saver_exit "$saver"
    check "$1 /p: exit code once the preview window is gone" 0 "$code"

    start_saver "$1" /s
    if await window_shown "$SAVER_TITLE"; then
        key_until_ended "$saver" || true
    else
        check "$1 /s: saver window \"$SAVER_TITLE\"" shown "not shown within 30 s"
    fi
    await_saver_exit "$saver"
    check "$1 /s: exit code after a key" 0 "$code"
}

# check_in_use SAVER MODE FOLDER KEY: a silent install in MODE, and a silent
# uninstall of the install in FOLDER, while the installed saver runs, end
# with the "in use" exit code and change nothing.
check_in_use() {
    local before path=$1
    before=$(changed "$(unix_path "$path")")
    start_saver "$path" /s
    if await window_shown "$SAVER_TITLE"; then
        check "exit code of the install" "$EXIT_IN_USE" \
            "$(run_windows "$INSTALLER_LOADER" "$INSTALLER" /S "$2")"
        # Run in place (_?=, which takes no quotes), the uninstaller's exit
        # code is its own.
        check "exit code of the uninstall" "$EXIT_IN_USE" \
            "$(run_windows "$INSTALLER_LOADER" "$3\Uninstall.exe" /S "_?=$(short_path "$3")")"
        check "$path untouched" "$before" "$(changed "$(unix_path "$path")")"
        check "uninstaller kept" yes "$([ -f "$(unix_path "$3\Uninstall.exe")" ] && echo yes || echo no)"
        check "uninstall entry kept" "$PRODUCT" "$(reg_value "$4" DisplayName)"
        check "saver still running" yes "$(kill -0 "$saver" 2>/dev/null && echo yes || echo no)"
        key_until_ended "$saver" || true
    else
        check "saver window \"$SAVER_TITLE\"" shown "not shown within 30 s"
    fi
    await_saver_exit "$saver"
    check "saver's exit code after a key" 0 "$code"
}

# check_other_mode_refused MODE FOLDER: installing in MODE over the install
# in FOLDER in the other mode is refused with its exit code: one install, one
# uninstall entry.
check_other_mode_refused() {
    local key=$UNINSTALL_KEY_USER other=$UNINSTALL_KEY
    [ "$1" = /AllUsers ] && key=$UNINSTALL_KEY && other=$UNINSTALL_KEY_USER
    check "exit code" "$EXIT_OTHER_MODE" "$(run_windows "$INSTALLER_LOADER" "$INSTALLER" /S "$1")"
    check "no entry of the refused mode" "(absent)" "$(reg_value "$key" DisplayName)"
    check "the install there was" "$2" "$(reg_value "$other" InstallLocation)"
}

# check_entry KEY SAVER FOLDER: the uninstall entry of an install.
check_entry() {
    local uninstaller="$3\\Uninstall.exe" size=unknown saver_file uninstaller_file
    saver_file=$(unix_path "$2")
    uninstaller_file=$(unix_path "$uninstaller")
    check "DisplayName" "$(cpack_value CPACK_NSIS_DISPLAY_NAME)" "$(reg_value "$1" DisplayName)"
    check "DisplayVersion" "$VERSION" "$(reg_value "$1" DisplayVersion)"
    check "Publisher" "$(cpack_value CPACK_PACKAGE_VENDOR)" "$(reg_value "$1" Publisher)"
    check "DisplayIcon" "$2,0" "$(reg_value "$1" DisplayIcon)"
    check "InstallLocation" "$3" "$(reg_value "$1" InstallLocation)"
    check "UninstallString" "\"$uninstaller\"" "$(reg_value "$1" UninstallString)"
    check "QuietUninstallString" "\"$uninstaller\" /S" "$(reg_value "$1" QuietUninstallString)"
    [ -f "$saver_file" ] && [ -f "$uninstaller_file" ] &&
        size=$(printf '0x%x' $(($(size_kib "$saver_file") + $(size_kib "$uninstaller_file"))))
    check "EstimatedSize (KiB of saver and uninstaller)" "$size" "$(reg_value "$1" EstimatedSize)"
    if [ -n "${PLOVIX_TEST_SIGNER:-}" ]; then
        check "signature of $2" signed "$(signature "$saver_file")"
        check "signature of the uninstaller" signed "$(signature "$uninstaller_file")"
    fi
}

# check_uninstall KEY FOLDER SAVER USER_SAVER ACTIVE: a silent uninstall,
# with USER_SAVER as the user's saver, takes away what the install put there
# and resets the user's saver only while it is this one, in the long or the
# short form of its path, and only just for me: for all users the running
# account need not be the user at the desk, so no user's setting changes.
check_uninstall() {
    local expected_saver=$4
    if [ "$1" = "$UNINSTALL_KEY_USER" ] &&
        { [ "$4" = "$3" ] || [ "$4" = "$(short_path "$3")" ]; }; then
        expected_saver="(absent)"
    fi
    # Anywhere else, as when an administrator runs another user's
    # uninstaller, it removes nothing.
    check "exit code outside its install" "$EXIT_NOT_INSTALLED_HERE" \
        "$(run_windows "$INSTALLER_LOADER" "$2\\Uninstall.exe" /S "_?=C:\\users")"
    check "entry kept outside its install" "$PRODUCT" "$(reg_value "$1" DisplayName)"
    "$loader" reg add "$DESKTOP_KEY" /v SCRNSAVE.EXE /d "$4" /f >/dev/null 2>&1
    # The uninstaller hands its work to a copy of itself and returns at once;
    # its last step removes the install folder.
    check "exit code" 0 "$(run_windows "$INSTALLER_LOADER" "$2\\Uninstall.exe" /S)"
    check_removed "$1" "$2" "$3"
    check "SCRNSAVE.EXE" "$expected_saver" "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"
    check "ScreenSaveActive" "$5" "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)"
    check "ScreenSaveTimeOut" $TIMEOUT_SECONDS "$(reg_value "$DESKTOP_KEY" ScreenSaveTimeOut)"
}

# check_removed KEY FOLDER SAVER: nothing left of the install.
check_removed() {
    local folder=removed
    await test ! -e "$(unix_path "$2")" || folder="still there after $PLOVIX_TIMEOUT_WINDOW s"
    check "install folder" removed "$folder"
    check "$3" "(absent)" "$(file_state "$(unix_path "$3")")"
    check "uninstall entry" "(absent)" "$(reg_value "$1" DisplayName)"
}

# The wizard's controls once it shows a control with the text TEXT, as
# desktopprobe prints them, in `page`; empty when it did not within 30 s.
show_page() {
    page=$("$loader" "$probe" wizard "$1" "$2" 2>/dev/null | tr -d '\r') || page=""
}
# control TEXT: "visible checked", "hidden unchecked", "visible items=2"...
# of the control with that text on `page`, or "(none)".
control() {
    local found
    # Through the environment: awk's -v would read the backslashes of a path.
    found=$(TEXT=$1 awk -F'\t' '$6 == ENVIRON["TEXT"] { print $3, $5; exit }' <<<"$page")
    printf '%s\n' "${found:-(none)}"
}
# The components page's tree, as `control` tells it.
components() { awk -F'\t' '$1 == "SysTreeView32" { print $3, $5; exit }' <<<"$page"; }
press() {
    "$loader" "$probe" press "$1" "$2" >/dev/null 2>&1 ||
        check "button \"$2\"" pressed "not there within 30 s"
}
# chosen TITLE CHOICE: true once the wizard shows the radio button checked.
chosen() {
    show_page "$1" "$2"
    [ "$(control "$2")" = "visible checked" ]
}

# wizard_install CHOICE: clicks through the installer as a person does,
# choosing CHOICE on the mode page, and checks each page on the way. On the
# finish page it ticks the offer to open the Screen Saver Settings, hidden
# or not, and finishes: the settings open just for me only.
wizard_install() {
    local all_users=no log=$RELEASED/wizard.log installer code
    [ "$1" = "$ALL_USERS_CHOICE" ] && all_users=yes
    # Wine's process channel logs each program the installer starts.
    WINEDEBUG=+process "$INSTALLER_LOADER" "$INSTALLER" >/dev/null 2>"$log" &
    installer=$!
    PLOVIX_PIDS+=("$installer")
    show_page "$SETUP_TITLE" "I Agree"
    check "licence page: the branding line" "visible -" "$(control "$BRANDING")"
    press "$SETUP_TITLE" "I Agree"
    show_page "$SETUP_TITLE" "$JUST_FOR_ME_CHOICE"
    check "mode page: all users, chosen for an administrator" "visible checked" \
        "$(control "$ALL_USERS_CHOICE")"
    check "mode page: just for me, naming the account" "visible unchecked" \
        "$(control "$JUST_FOR_ME_CHOICE")"
    press "$SETUP_TITLE" "$1"
    plovix_poll "$PLOVIX_TIMEOUT_WAIT" chosen "$SETUP_TITLE" "$1" || true
    check "mode page: $1" "visible checked" "$(control "$1")"
    press "$SETUP_TITLE" "Next >"
    show_page "$SETUP_TITLE" "Choose Components"
    local offered="visible items=2"
    [ $all_users = yes ] && offered="visible items=1"
    check "components page: the saver, and \"Make it my screen saver\" just for me" "$offered" \
        "$(components)"
    press "$SETUP_TITLE" "Install"
    show_page "$SETUP_TITLE" "Finish"
    if [ $all_users = yes ]; then
        check "finish page: \"$OPEN_SETTINGS\"" "hidden unchecked" "$(control "$OPEN_SETTINGS")"
        press "$SETUP_TITLE" "$OPEN_SETTINGS"
        show_page "$SETUP_TITLE" "Finish"
        check "finish page: \"$OPEN_SETTINGS\" ticked anyway" "hidden checked" \
            "$(control "$OPEN_SETTINGS")"
    else
        check "finish page: \"$OPEN_SETTINGS\"" "visible checked" "$(control "$OPEN_SETTINGS")"
    fi
    press "$SETUP_TITLE" "Finish"
    await_saver_exit "$installer"
    check "exit code" 0 "$code"
    local opened=no
    grep -qF "$SETTINGS_COMMAND" "$log" && opened=yes
    check "the Screen Saver Settings opened" "$([ $all_users = yes ] && echo no || echo yes)" \
        "$opened"
}

# wizard_uninstall FOLDER: clicks through the uninstaller of the install in
# FOLDER as a person does.
wizard_uninstall() {
    "$INSTALLER_LOADER" "$1\\Uninstall.exe" >/dev/null 2>&1 &
    PLOVIX_PIDS+=("$!")
    show_page "$UNINSTALL_TITLE" "Uninstall"
    check "confirmation page: the folder" "visible -" "$(control "$1\\")"
    check "confirmation page: the branding line" "visible -" "$(control "$BRANDING")"
    press "$UNINSTALL_TITLE" "Uninstall"
    show_page "$UNINSTALL_TITLE" "Close"
    check "last page" "visible -" "$(control "Completed")"
    press "$UNINSTALL_TITLE" "Close"
}

# Installs, uses and removes the saver for all users and just for the user,
# silently and through the wizards, in a fresh Windows of the given kind (32
# or 64 bits), with the given switches for all users (the default of an
# administrator's silent run is all users). With keep_user_saver=yes the
# user has picked another saver before the silent uninstalls, which must
# keep that choice; otherwise the user's saver is the installed one, in the
# short form of its path just for me.
test_windows() {
    local bits=$1 all_users_switches=$2 keep_user_saver=$3 prefix system
    local preset=win$1 architecture=win$1
    loader=wine
    [ "$bits" = 64 ] && loader=$PLOVIX_WINE64
    prefix=$PLOVIX_ROOT/build/wine/installer-$architecture
    rm -rf "$prefix"
    # An account whose name holds a blank, as many do: the saver's path just
    # for me then holds two, in the account's folder and the install folder.
    export USER="Plovix Tester"
    plovix_start_wine "$prefix" "$architecture"
    system=$prefix/drive_c/windows/system32
    probe=build/$preset/desktopprobe.exe
    host=build/$preset/previewhost.exe
    WINE=$("$loader" "$probe" wine | tr -d '\r')
    "$loader" reg add "$DESKTOP_KEY" /v ScreenSaveTimeOut /d $TIMEOUT_SECONDS /f >/dev/null 2>&1
    "$loader" reg add "$DESKTOP_KEY" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
    local program_files="C:\\Program Files\\$INSTALL_FOLDER" user_saver other='C:\windows\system32\other.scr'
    JUST_FOR_ME_CHOICE="Install just for me ($("$loader" cmd /c echo %USERNAME% | tr -d '\r'))"

    local desktop user_entries
    desktop=$(key_state "$DESKTOP_KEY")
    user_entries=$(key_state "${UNINSTALL_KEY_USER%\\*}")
    begin "$bits-bit Windows, silent install for all users ($all_users_switches)"
    # shellcheck disable=SC2086 # the switches are words of their own
    check "exit code" 0 "$(run_windows "$INSTALLER_LOADER" "$INSTALLER" $all_users_switches)"
    check "system32\\$SAVER_FILE" "the $bits-bit saver" "$(file_state "$system/$SAVER_FILE")"
    if [ "$bits" = 64 ]; then
        check "syswow64\\$SAVER_FILE" "(absent)" "$(file_state "$prefix/drive_c/windows/syswow64/$SAVER_FILE")"
    fi
    check "the user's $DESKTOP_KEY" unchanged "$(key_change "$DESKTOP_KEY" "$desktop")"
    check "the user's uninstall entries" unchanged "$(key_change "${UNINSTALL_KEY_USER%\\*}" "$user_entries")"
    check_entry "$UNINSTALL_KEY" "$SAVER_PATH" "$program_files"

    # NSIS ends a damaged installer with its own 2, which must never read as
    # one of the codes a deployment acts on, and it changes nothing.
    begin "$bits-bit Windows, a damaged installer over the install for all users"
    local damaged=$RELEASED/damaged.exe size saver uninstaller entry
    cp "$INSTALLER" "$damaged"
    size=$(stat -c %s "$damaged")
    printf 'damaged' | dd of="$damaged" bs=1 seek=$((size / 2)) conv=notrunc status=none
    saver=$(changed "$system/$SAVER_FILE")
    uninstaller=$(changed "$(unix_path "$program_files\\Uninstall.exe")")
    entry=$(key_state "$UNINSTALL_KEY")
    check "exit code, NSIS's own" 2 "$(run_windows "$INSTALLER_LOADER" "$damaged" /S /AllUsers)"
    check "system32\\$SAVER_FILE untouched" "$saver" "$(changed "$system/$SAVER_FILE")"
    check "uninstaller untouched" "$uninstaller" "$(changed "$(unix_path "$program_files\\Uninstall.exe")")"
    check "uninstall entry" unchanged "$(key_change "$UNINSTALL_KEY" "$entry")"

    begin "$bits-bit Windows, the saver for all users, started from a setting"
    check_saver_runs "$SAVER_PATH"
    begin "$bits-bit Windows, silent install and uninstall for all users while the saver runs"
    check_in_use "$SAVER_PATH" /AllUsers "$program_files" "$UNINSTALL_KEY"
    begin "$bits-bit Windows, silent install for all users over a read-only saver"
    "$loader" cmd /c attrib +r "$SAVER_PATH" >/dev/null 2>&1
    check "exit code" 0 "$(run_windows "$INSTALLER_LOADER" "$INSTALLER" /S /AllUsers)"
    check "system32\\$SAVER_FILE" "the $bits-bit saver" "$(file_state "$system/$SAVER_FILE")"
    begin "$bits-bit Windows, install just for me over the install for all users"
    check_other_mode_refused /CurrentUser "$program_files"

    user_saver=$SAVER_PATH
    [ "$keep_user_saver" = yes ] && user_saver=$other
    begin "$bits-bit Windows, silent uninstall for all users with $user_saver as the user's saver"
    check_uninstall "$UNINSTALL_KEY" "$program_files" "$SAVER_PATH" "$user_saver" 0
    "$loader" reg delete "$DESKTOP_KEY" /v SCRNSAVE.EXE /f >/dev/null 2>&1 || true

    local folder="$(user_programs)\\$INSTALL_FOLDER"
    local saver_path="$folder\\$SAVER_FILE"
    begin "$bits-bit Windows, silent install just for me"
    check "exit code" 0 "$(run_windows "$INSTALLER_LOADER" "$INSTALLER" /S /CurrentUser)"
    check "$saver_path" "the $bits-bit saver" "$(file_state "$(unix_path "$saver_path")")"
    check "system32\\$SAVER_FILE" "(absent)" "$(file_state "$system/$SAVER_FILE")"
    check "SCRNSAVE.EXE" "$saver_path" "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"
    check "ScreenSaveActive" 1 "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)"
    check "no entry for all users" "(absent)" "$(reg_value "$UNINSTALL_KEY" DisplayName)"
    check_entry "$UNINSTALL_KEY_USER" "$saver_path" "$folder"

    # Windows starts the saver from the setting without quotes, and the
    # settings dialog may store it in its short form; a path may also come
    # partly short, the account's folder short and the install folder's blank
    # kept.
    begin "$bits-bit Windows, the saver just for me, started from the setting as written"
    check_saver_runs "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"
    local short partly
    short=$(short_path "$saver_path")
    partly="$(short_path "$(user_programs)")\\$INSTALL_FOLDER\\$SAVER_FILE"
    check "the short form $short: another path, without blanks" yes \
        "$([ "$short" != "$saver_path" ] && [[ $short != *" "* ]] && echo yes || echo no)"
    check_saver_runs "$short"
    check "the partly short form $partly: another path, with a blank" yes \
        "$([ "$partly" != "$saver_path" ] && [[ $partly == *" "* ]] && echo yes || echo no)"
    check_saver_runs "$partly"
    begin "$bits-bit Windows, silent install and uninstall just for me while the saver runs"
    check_in_use "$saver_path" /CurrentUser "$folder" "$UNINSTALL_KEY_USER"
    begin "$bits-bit Windows, install for all users over the install just for me"
    check_other_mode_refused /AllUsers "$folder"

    user_saver=$(short_path "$saver_path")
    [ "$keep_user_saver" = yes ] && user_saver=$saver_path
    begin "$bits-bit Windows, silent uninstall just for me with $user_saver as the user's saver"
    check_uninstall "$UNINSTALL_KEY_USER" "$folder" "$saver_path" "$user_saver" 1

    begin "$bits-bit Windows, the wizard for all users"
    "$loader" reg add "$DESKTOP_KEY" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
    desktop=$(key_state "$DESKTOP_KEY")
    wizard_install "$ALL_USERS_CHOICE"
    check "system32\\$SAVER_FILE" "the $bits-bit saver" "$(file_state "$system/$SAVER_FILE")"
    check "the user's $DESKTOP_KEY" unchanged "$(key_change "$DESKTOP_KEY" "$desktop")"
    check_entry "$UNINSTALL_KEY" "$SAVER_PATH" "$program_files"
    begin "$bits-bit Windows, the uninstaller's wizard for all users"
    wizard_uninstall "$program_files"
    check_removed "$UNINSTALL_KEY" "$program_files" "$SAVER_PATH"

    begin "$bits-bit Windows, the wizard just for me"
    wizard_install "$JUST_FOR_ME_CHOICE"
    check "$saver_path" "the $bits-bit saver" "$(file_state "$(unix_path "$saver_path")")"
    check "SCRNSAVE.EXE" "$saver_path" "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"
    check_entry "$UNINSTALL_KEY_USER" "$saver_path" "$folder"
    begin "$bits-bit Windows, the uninstaller's wizard just for me, with another saver picked"
    "$loader" reg add "$DESKTOP_KEY" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
    wizard_uninstall "$folder"
    check_removed "$UNINSTALL_KEY_USER" "$folder" "$saver_path"
    check "SCRNSAVE.EXE" "$other" "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)"

    plovix_cleanup
}

if [ ! -f "$SETUP" ] || [ ! -f "$ARCHIVE" ]; then
    plovix_log "no installer and archive in $(dirname "$SETUP"): make them with ./scripts/package.sh"
    exit 1
fi
unzip -q "$ARCHIVE" -d "$RELEASED"
# The released installer is a 32-bit program. Where 32-bit programs cannot
# run, its 64-bit build from the same script stands in, in a 64-bit Windows.
INSTALLER=$SETUP
INSTALLER_LOADER=wine
if ! plovix_can_run_wine32; then
    INSTALLER=${PLOVIX_TEST_INSTALLER_64:?made by signed-packages.sh}
    INSTALLER_LOADER=$PLOVIX_WINE64
    plovix_log "installer: $PLOVIX_WINE32_CAUSE: testing the installer's 64-bit" \
        "build in a 64-bit Windows only"
fi
if [ -n "${PLOVIX_TEST_SIGNER:-}" ]; then
    begin "signatures of the release"
    check "installer" signed "$(signature "$SETUP")"
    for saver in "$RELEASED"/*.scr; do
        check "archive's $(basename "$saver")" signed "$(signature "$saver")"
    done
fi
plovix_start_display Xvfb 800x600
test_windows 64 "/S /AllUsers" no
if plovix_can_run_wine32; then
    plovix_start_display Xvfb 800x600
    test_windows 32 /S yes
fi

finish

#!/usr/bin/env bash
# Fresh Windows for an installer test (installer_checks.py's FreshWindows),
# which starts this and keeps its input open:
#
#   fresh-windows.sh NAME [DISPLAY]
#
# Stops, naming them, when packages the installer tests need are missing;
# else starts a private virtual display, or uses the X display DISPLAY
# (a test display's), and says "display :N PID", PID its
# own process id, which is its process group's. Then for each line read,
# win64 or win32, it makes and starts a fresh Wine prefix of that kind in
# build/wine/NAME-win64 or -win32 and answers with one line, its fields split
# by tabs: "ready", the loader of that kind as loader=PATH and the environment
# the prefix's programs run in as NAME=VALUE; or "skipped" and the cause,
# where 32-bit Wine cannot run. When its input ends, however the test ended,
# or on a signal, it ends everything it started.
#
# The display and the prefixes are started here by environment.sh's own
# functions, as the display tests start theirs, rather than by a copy in Python;
# and a helper that serves prefixes as the test asks for them lets it check
# the packages first, and skip a kind of Windows through the same code.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib/environment.sh"
name=${1:?usage: fresh-windows.sh NAME}
plovix_require_packages "${PLOVIX_WINE_PACKAGES[@]}" "${PLOVIX_PACKAGING_PACKAGES[@]}" \
    "${PLOVIX_INSTALLER_TEST_PACKAGES[@]}"
plovix_use_build "$PLOVIX_ROOT/build/win64"
trap plovix_cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Standard output carries the answers alone.
[ -n "${2:-}" ] && export DISPLAY=$2 || plovix_start_display Xvfb 800x600 </dev/null >&2
echo "display $DISPLAY $$"
while read -r architecture; do
    case $architecture in
    win64) loader=$PLOVIX_WINE64 ;;
    win32) loader=wine ;;
    *) exit 2 ;;
    esac
    if [ "$architecture" = win32 ] && ! plovix_can_run_wine32; then
        printf 'skipped\t%s\n' "$PLOVIX_WINE32_CAUSE"
        continue
    fi
    prefix=$PLOVIX_ROOT/build/wine/$name-$architecture
    rm -rf "$prefix"
    plovix_start_wine "$prefix" "$architecture" </dev/null >&2
    printf 'ready\tloader=%s' "$loader"
    for variable in DISPLAY WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES; do
        printf '\t%s=%s' "$variable" "${!variable}"
    done
    printf '\n'
done

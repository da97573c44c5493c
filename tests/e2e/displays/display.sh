#!/usr/bin/env bash
# The displays the Windows tests run on, for CTest: each a fixture that
# starts a private display with its Wine prefix before its tests and ends it
# after them.
#
#   display.sh start NAME BUILD PREFIX SERVER SETTING [check-switch]
#       starts display NAME of the build folder BUILD as its row of
#       cmake/PlovixDisplays.cmake says: SERVER (Xvfb or Xorg) with SETTING (its
#       size or configuration) and the Wine prefix PREFIX; check-switch proves
#       that Wine can switch it
#   display.sh stop NAME BUILD   ends it
#   display.sh run BUILD LOADER PROGRAM [ARGUMENTS]
#       runs a test program with LOADER (wine or wine64) on the display
#       PLOVIX_DISPLAY names; one still running after PLOVIX_WATCHDOG_SECONDS
#       is ended, once what each process of its prefix waits on is told
#       (plovix-procwatch, then winedbg's stacks)
set -euo pipefail

source "$(dirname "$0")/../../../scripts/lib/environment.sh"

usage() {
    echo "usage: display.sh start NAME BUILD PREFIX SERVER SETTING [check-switch]" \
        "| display.sh stop NAME BUILD | display.sh run BUILD LOADER PROGRAM..." >&2
    exit 2
}

# Starts the display and its prefix; what is left running writes to `log`,
# never to CTest's output, which CTest would wait on.
start_quietly() {
    local build=$1 prefix=$2 server=$3 setting=$4 check=$5 state=$6
    plovix_use_build "$build"
    plovix_start_display "$server" "$setting" || return 1
    plovix_start_wine "$prefix" || return 1
    [ -z "$check" ] || plovix_check_display_switch "$(basename "$build")" || return 1
    printf 'DISPLAY=%q\nWINEPREFIX=%q\nPIDS=%q\n' "$DISPLAY" "$WINEPREFIX" "${PLOVIX_PIDS[*]}" \
        >"$state"
}

[ $# -ge 3 ] || usage
case $1 in
start)
    [ $# -ge 6 ] || usage
    name=$2 build=$3 prefix=$4
    mkdir -p "$build/displays"
    log=$build/displays/$name.log
    # After a spun server the prefix is made anew.
    if [ -f "$build/displays/$name.spun" ]; then
        rm -f "$prefix/.plovix-ready" "$build/displays/$name.spun"
    fi
    if ! (start_quietly "$build" "$prefix" "$5" "$6" "${7:-}" "$build/displays/$name.env") \
        </dev/null >"$log" 2>&1; then
        cat "$log"
        exit 1
    fi
    echo "display $name: $(sed -n 's/^DISPLAY=//p' "$build/displays/$name.env")"
    ;;
stop)
    name=$2
    state=$3/displays/$name.env
    [ -f "$state" ] || exit 0
    plovix_use_build "$3"
    source "$state"
    PLOVIX_WINE_PREFIXES=("$WINEPREFIX")
    read -r -a PLOVIX_PIDS <<<"$PIDS"
    plovix_cleanup
    rm -f "$state"
    ;;
run)
    build=$2
    loader=$3
    shift 3
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    state=$build/displays/${PLOVIX_DISPLAY:?run the test through ctest, which names its display}.env
    if [ ! -f "$state" ]; then
        echo "display $PLOVIX_DISPLAY is not running: run the test with its fixture" >&2
        exit 1
    fi
    source "$state"
    source "$build/displays.sh"
    export DISPLAY WINEPREFIX
    if [ -z "${PLOVIX_WATCHDOG_SECONDS:-}" ]; then
        exec "$loader" "$@"
    fi
    # In a process group of its own, which the programs it starts (a saver)
    # join, so that the watchdog ends them all: one left would hold CTest's
    # output open.
    setsid "$loader" "$@" &
    program=$!
    # The sleep holds none of CTest's pipes, which CTest would wait on.
    (
        sleep "$PLOVIX_WATCHDOG_SECONDS" </dev/null >/dev/null 2>&1
        echo "watchdog: $* still runs after $PLOVIX_WATCHDOG_SECONDS s; what each process" \
            "of $WINEPREFIX waits on:"
        # Every process of the prefix: the wineserver, the test, a saver it
        # started. Wine 10's server now and then spins by itself (the
        # README's known limits): when it alone is busy and everything else
        # waits on it, the hang is the server's, and the test command runs the
        # test again on a fresh display and prefix.
        watch=$PLOVIX_ROOT/build/host/tools/plovix-procwatch
        spun=no
        if [ -x "$watch" ]; then
            mapfile -t processes < <(plovix_prefix_processes "$WINEPREFIX")
            "$watch" waits "${processes[@]}"
            "$watch" busy "${processes[@]}" || [ $? -ne 3 ] || spun=yes
        else
            echo "watchdog: no report of the waits without the host build's plovix-procwatch"
        fi
        if [ $spun = yes ]; then
            touch "$build/displays/$PLOVIX_DISPLAY.spun"
            # It answers nothing, so it goes with all it serves.
            for pid in $(plovix_prefix_processes "$WINEPREFIX"); do
                [ "$pid" = "$BASHPID" ] || kill -KILL "$pid" 2>/dev/null
            done
        fi
        # Then each Windows thread's own stack, unless the server is what hangs.
        if [ $spun = no ]; then
            echo "watchdog: the Windows threads' stacks (winedbg bt all):"
            timeout 12 "$loader" winedbg --command "bt all" </dev/null 2>&1 || true
        fi
        # Wine answers SIGTERM through its server, which may be what hangs.
        kill -- -"$program" 2>/dev/null
        sleep 2 </dev/null >/dev/null 2>&1
        kill -KILL -- -"$program" 2>/dev/null
    ) >&2 &
    watchdog=$!
    trap 'kill -- -"$program" 2>/dev/null' HUP INT TERM
    code=0
    wait "$program" || code=$?
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
    exit $code
    ;;
*) usage ;;
esac

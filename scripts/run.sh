#!/usr/bin/env bash
# The run command: ./scripts/run.sh [saver arguments]
#
# Installs what is missing, builds the saver if needed and runs it under Wine.
# With an X display (DISPLAY set) it runs there: "/s" by default, "/p" or "/l"
# inside a preview window, "/c" shows its notice. Without one it runs in a
# private 800x600 virtual display and leaves pictures in out/: the screen,
# the preview enlarged and an animation of the blinking cursor.
# Exits with the saver's exit code. PLOVIX_VERBOSE=1 shows Wine's own output.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

arguments=("$@")
[ ${#arguments[@]} -eq 0 ] && arguments=(/s)
OUT=$PLOVIX_ROOT/out
mkdir -p "$OUT"
LOG=$OUT/run.log
: >"$LOG"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_WINE_PACKAGES[@]}" \
    imagemagick xdotool x11-apps
trap plovix_cleanup EXIT

# The 32-bit saver where 32-bit Wine runs, else the 64-bit one.
if plovix_can_run_wine32; then
    preset=win32
    wine_loader=wine
else
    preset=win64
    wine_loader=$PLOVIX_WINE64
    plovix_log "this machine cannot run 32-bit programs; running the 64-bit saver instead"
fi
if [ ! -f "build/$preset/Plovix.scr" ] || [ ! -f "build/$preset/previewhost.exe" ]; then
    plovix_log "building the $preset saver"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" --target Plovix previewhost; } \
        >>"$LOG" 2>&1; then
        plovix_log "the build failed; see $LOG"
        exit 1
    fi
fi
SAVER=$PLOVIX_ROOT/build/$preset/Plovix.scr
HOST=$PLOVIX_ROOT/build/$preset/previewhost.exe

# Runs a Windows program; Wine's own messages go to the log unless asked for.
wine_run() {
    if [ "${PLOVIX_VERBOSE:-0}" = 1 ]; then
        WINEDEBUG=${WINEDEBUG:-} "$wine_loader" "$@"
    else
        "$wine_loader" "$@" 2>>"$LOG"
    fi
}

# A bare "/p" or "/l" asks for the preview window; with a handle the
# arguments go to the saver as they are.
wants_preview() {
    [ ${#arguments[@]} -eq 1 ] && [[ ${arguments[0],,} == /p || ${arguments[0],,} == /l ]]
}

# The saver, or the preview host. Wine does not show what one process paints
# into another process's window, so the preview runs the saver's code inside
# the host.
run_saver() {
    if wants_preview; then
        wine_run "$HOST" --in-process
    else
        wine_run "$SAVER" "${arguments[@]}"
    fi
}

if [ -n "${DISPLAY:-}" ]; then
    plovix_start_wine "$PLOVIX_ROOT/build/wine/desktop"
    set +e
    run_saver
    code=$?
    exit $code
fi

# No display: a private one, and pictures of what it shows.
plovix_start_display 800x600
plovix_start_wine "$PLOVIX_ROOT/build/wine/800x600"

capture() { xwd -root -silent | convert xwd:- "$@"; }

wait_for_window() {
    local tries=0
    until xdotool search --name "$1" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -gt 150 ] && return 1
        sleep 0.1
    done
}

# An animation of two blink cycles and a bit, each frame shown as long as it
# really lasted on the screen.
record_blink() {
    local frames start n=0 previous= last= stamp
    frames=$(mktemp -d)
    start=$(date +%s%N)
    while [ $(($(date +%s%N) - start)) -lt 1700000000 ]; do
        xwd -root -silent >"$frames/$(printf %04d $n).xwd"
        date +%s%N >"$frames/$(printf %04d $n).time"
        n=$((n + 1))
    done
    local gif=()
    for frame in "$frames"/*.xwd; do
        stamp=$(cat "${frame%.xwd}.time")
        [ -n "$previous" ] && gif+=(-delay "$(((stamp - previous) / 10000000))" "$last")
        previous=$stamp
        last=$frame
    done
    gif+=(-delay 10 "$last")
    convert -loop 0 "${gif[@]}" -layers Optimize "$1"
    rm -rf "$frames"
}

# The preview area, as the host reports it, enlarged four times.
record_preview() {
    local place_file place
    place_file=$(mktemp)
    wine_run "$HOST" --in-process 3 >"$place_file" &
    local host=$!
    PLOVIX_PIDS+=($host)
    for _ in $(seq 100); do
        grep -q '^preview area:' "$place_file" && break
        sleep 0.1
    done
    sleep 1
    read -r x y width height < <(sed -n 's/^preview area: //p' "$place_file" | tr -d '\r')
    capture -crop "${width}x${height}+${x}+${y}" +repage -filter point -resize 400% "$1"
    set +e
    wait $host
    local code=$?
    set -e
    rm -f "$place_file"
    return $code
}

pictures=()
set +e
if wants_preview; then
    record_preview "$OUT/preview.png"
    code=$?
    pictures+=("$OUT/preview.png")
else
    wine_run "$SAVER" "${arguments[@]}" &
    saver=$!
    PLOVIX_PIDS+=($saver)
    if [ "${arguments[0],,}" = /s ] && wait_for_window "Plovixscreen Screensaver"; then
        sleep 1
        capture "$OUT/screenshot.png"
        record_blink "$OUT/blink.gif"
        xdotool key space
        pictures+=("$OUT/screenshot.png" "$OUT/blink.gif")
    else
        # A notice or an error box: show it, then answer it.
        sleep 2
        capture "$OUT/screenshot.png"
        xdotool key Return
        pictures+=("$OUT/screenshot.png")
    fi
    wait $saver
    code=$?
    if [ "${arguments[0],,}" = /s ]; then
        record_preview "$OUT/preview.png" && pictures+=("$OUT/preview.png")
    fi
fi
set -e

printf '%s\n' "${pictures[@]}"
exit $code

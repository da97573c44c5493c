#!/usr/bin/env bash
# The run command: ./scripts/run.sh [saver arguments]
#
# Installs what is missing, builds the saver if needed and runs it under Wine.
# With an X display (DISPLAY set) it runs there: "/s" by default, "/p" or "/l"
# inside a preview window, "/c" shows its notice. Without one it runs in the
# private display of one monitor that cmake/PlovixDisplays.cmake gives it and
# leaves pictures in out/: the screen, the preview enlarged and an animation
# of the blinking cursor; a notice or an error box is read out and answered.
# A run that shows an error box instead of the saver's picture, ends early,
# or cannot be pictured is reported, its evidence kept as out/failure.png,
# and the command exits non-zero. Otherwise it exits with the saver's exit
# code. PLOVIX_VERBOSE=1 shows Wine's own output. PLOVIX_MONITORS=2 makes it
# the display of two monitors (Xorg's, as root): the full-screen run then
# also leaves out/two-monitors.png, the whole desktop.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

arguments=("$@")
[ ${#arguments[@]} -eq 0 ] && arguments=(/s)
MONITORS=${PLOVIX_MONITORS:-1}
if [ "$MONITORS" != 1 ] && [ "$MONITORS" != 2 ]; then
    plovix_log "PLOVIX_MONITORS is 1 or 2, not \"$MONITORS\""
    exit 2
fi
OUT=$PLOVIX_ROOT/out
mkdir -p "$OUT"
LOG=$OUT/run.log
: >"$LOG"
# Pictures of an earlier run must not pass for this run's.
rm -f "$OUT"/*.png "$OUT"/*.gif

display_packages=()
[ "$MONITORS" = 2 ] && display_packages=("${PLOVIX_SWITCHING_PACKAGES[@]}")
plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_WINE_PACKAGES[@]}" \
    "${PLOVIX_PICTURE_PACKAGES[@]}" "${display_packages[@]}"
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
needs_build=no
for file in Plovix.scr previewhost.exe desktopprobe.exe displays.sh timeouts.sh; do
    [ -f "build/$preset/$file" ] || needs_build=yes
done
if [ $needs_build = yes ]; then
    plovix_log "building the $preset saver"
    if ! { cmake --preset "$preset" &&
        cmake --build --preset "$preset" --target Plovix previewhost desktopprobe; } \
        >>"$LOG" 2>&1; then
        plovix_log "the build failed; see $LOG"
        exit 1
    fi
fi
plovix_use_build "build/$preset"
SAVER=$PLOVIX_ROOT/build/$preset/Plovix.scr
HOST=$PLOVIX_ROOT/build/$preset/previewhost.exe
PROBE=$PLOVIX_ROOT/build/$preset/desktopprobe.exe

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

# How the preview host shows the preview: by starting the saver with "/p"
# and its window, as the Screen Saver Settings dialog does, where the Wine in
# use shows what one process paints into another process's window (Wine 10
# on), and otherwise with the saver's code running inside the host.
preview_host_arguments() {
    local shows
    shows=$(wine_run "$PROBE" wine | tr -d '\r' | sed -n "s/^shows other processes' children: //p")
    if [ "$shows" = yes ]; then
        # The loader of the saver's kind: Debian's winepath script runs the
        # 32-bit one, which not every kernel can start.
        printf '%s\n' "$(wine_run winepath.exe -w "$SAVER" | tr -d '\r')" /p
    else
        printf '%s\n' --in-process
    fi
}

# The saver, or the preview host.
run_saver() {
    if wants_preview; then
        local host_arguments
        mapfile -t host_arguments < <(preview_host_arguments)
        wine_run "$HOST" "${host_arguments[@]}"
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
for display in "${PLOVIX_DISPLAYS_FOR_RUN[@]}"; do
    [ "${PLOVIX_DISPLAY_MONITORS[$display]}" = "$MONITORS" ] && break
done
plovix_start_display "${PLOVIX_DISPLAY_SERVER[$display]}" "${PLOVIX_DISPLAY_SETTING[$display]}"
plovix_start_wine "${PLOVIX_DISPLAY_PREFIX[$display]}"
plovix_check_display_switch "$preset"

FAILURE_PICTURE=$OUT/failure.png

capture() { xwd -root -silent | convert xwd:- "$@"; }

# Ends the command for a run that failed: what happened, where the evidence
# is, and a non-zero exit code (the saver's own if it has one).
fail() {
    local code=$1
    shift
    plovix_log "the run failed: $*"
    if [ -f "$FAILURE_PICTURE" ]; then
        plovix_log "what the screen showed: $FAILURE_PICTURE"
    fi
    plovix_log "Wine's messages: $LOG"
    [ "$code" -eq 0 ] && code=1
    exit "$code"
}

# The saver's own names for its window and boxes, and its picture's colours.
names=$(wine_run "$PROBE" names | tr -d '\r') || fail 1 "desktopprobe could not tell the saver's names"
name_of() { sed -n "s/^$1: //p" <<<"$names"; }
SAVER_TITLE=$(name_of 'window title')
ERROR_CAPTION=$(name_of 'error caption')
NOTICE_CAPTION=$(name_of 'information caption')
BORDER_COLOUR=$(name_of 'border colour')
BORDER_POINT=$(name_of 'border point')
TEXT_AREA_COLOUR=$(name_of 'text area colour')
TEXT_AREA_POINT=$(name_of 'text area point')

# Prints the first of the given window titles that is shown; 2 once the
# process has ended.
shown_window() {
    local pid=$1 title
    shift
    for title in "$@"; do
        if xdotool search --name "^$title\$" >/dev/null 2>&1; then
            printf '%s\n' "$title"
            return 0
        fi
    done
    ended "$pid" && return 2
    return 1
}

# Sets `code` to the exit code of a process that is about to end; one that
# does not end within the wait is ended and fails the run.
ended() { ! kill -0 "$1" 2>/dev/null; }
await_exit() {
    local pid=$1
    if ! plovix_poll "$PLOVIX_TIMEOUT_WAIT" ended "$pid"; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        fail 1 "the saver did not end"
    fi
    set +e
    wait "$pid"
    code=$?
    set -e
}

# Whether the screen pixel at the point "x,y" has the colour.
shows_colour() { [ "$(capture -format "%[pixel:p{$1}]" info:)" = "$2" ]; }
await_colour() { plovix_poll "$PLOVIX_TIMEOUT_WAIT" shows_colour "$@"; }

# Whether the picture file shows the saver's: its border's and its text
# area's colours at their points.
shows_saver() {
    [ "$(convert "$1" -format "%[pixel:p{$BORDER_POINT}] %[pixel:p{$TEXT_AREA_POINT}]" info: \
        2>/dev/null)" = "$BORDER_COLOUR $TEXT_AREA_COLOUR" ]
}

# Keeps a picture of the message box with the given caption in the given file,
# prints its text and answers it.
answer_box() {
    local caption=$1 picture=$2 text
    capture "$picture" || fail 1 "no picture of the box \"$caption\" could be taken"
    text=$(wine_run "$PROBE" answer "$caption" | tr -d '\r') || text="(its text could not be read)"
    printf '%s:\n%s\n' "$caption" "$text"
}

# An animation of two blink cycles and a bit, each frame shown as long as it
# really lasted on the screen.
record_blink() {
    local frames start n=0 previous= last= stamp
    frames=$(mktemp -d)
    start=$(date +%s%N)
    while [ $(($(date +%s%N) - start)) -lt 1700000000 ]; do
        xwd -root -silent >"$frames/$(printf %04d $n).xwd" || return 1
        date +%s%N >"$frames/$(printf %04d $n).time"
        n=$((n + 1))
        # A frame every 50 ms at most: the blink's 350 ms stay exact enough,
        # and the frames stay within what Debian's ImageMagick policy lets
        # convert hold.
        sleep 0.05
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
    local made=$?
    rm -rf "$frames"
    return $made
}

# The preview area, as the host reports it, enlarged four times, once the
# saver's picture is in it.
reported() { grep -q '^preview area:' "$1" || { ended "$2" && return 2; }; }
record_preview() {
    local place_file host x y width height
    place_file=$(mktemp)
    local host_arguments
    mapfile -t host_arguments < <(preview_host_arguments)
    plovix_log "the preview host shows the preview with ${host_arguments[*]}"
    wine_run "$HOST" "${host_arguments[@]}" 3 >"$place_file" &
    host=$!
    PLOVIX_PIDS+=($host)
    plovix_poll "$PLOVIX_TIMEOUT_WAIT" reported "$place_file" "$host" || true
    read -r x y width height < <(sed -n 's/^preview area: //p' "$place_file" | tr -d '\r')
    rm -f "$place_file"
    if [ -z "${height:-}" ]; then
        capture "$FAILURE_PICTURE" || true
        fail 1 "the preview host did not show its preview area"
    fi
    if ! await_colour "$((x + width / 2)),$((y + height / 2))" "$TEXT_AREA_COLOUR"; then
        capture "$FAILURE_PICTURE" || true
        fail 1 "the preview area did not show the saver's picture"
    fi
    capture -crop "${width}x${height}+${x}+${y}" +repage -filter point -resize 400% "$1" ||
        fail 1 "no picture of the preview could be taken"
    await_exit "$host"
    [ "$code" -eq 0 ] || fail "$code" "the preview host ended with exit code $code"
}

pictures=()
if wants_preview; then
    record_preview "$OUT/preview.png"
    pictures+=("$OUT/preview.png")
else
    wine_run "$SAVER" "${arguments[@]}" &
    saver=$!
    PLOVIX_PIDS+=($saver)
    shown=$(plovix_poll "$PLOVIX_TIMEOUT_WINDOW" shown_window "$saver" "$SAVER_TITLE" \
        "$ERROR_CAPTION" "$NOTICE_CAPTION") || shown=
    case $shown in
    "$SAVER_TITLE")
        if ! await_colour "$BORDER_POINT" "$BORDER_COLOUR" || ! capture "$OUT/screenshot.png" ||
            ! shows_saver "$OUT/screenshot.png"; then
            capture "$FAILURE_PICTURE" || true
            rm -f "$OUT/screenshot.png"
            fail 1 "the saver's window did not show its picture"
        fi
        if [ "$MONITORS" = 2 ]; then
            # The middle of the second monitor, wherever the switch put it,
            # shows the middle of the picture.
            read -r width height x y < <(xrandr | tr 'x+' '  ' |
                sed -n 's/^DUMMY1 connected \([0-9 ]*\) .*/\1/p')
            if [ -z "${y:-}" ] ||
                ! await_colour "$((x + width / 2)),$((y + height / 2))" "$TEXT_AREA_COLOUR" ||
                ! capture "$OUT/two-monitors.png"; then
                capture "$FAILURE_PICTURE" || true
                fail 1 "the second monitor did not show the saver's picture"
            fi
            pictures+=("$OUT/two-monitors.png")
        fi
        record_blink "$OUT/blink.gif" || fail 1 "no animation of the blink could be taken"
        pictures+=("$OUT/screenshot.png" "$OUT/blink.gif")
        kill -0 "$saver" 2>/dev/null || fail 1 "the saver ended before it was asked to"
        xdotool key space
        await_exit "$saver"
        [ "$code" -eq 0 ] || fail "$code" "the saver ended with exit code $code"
        record_preview "$OUT/preview.png"
        pictures+=("$OUT/preview.png")
        ;;
    "$ERROR_CAPTION")
        answer_box "$ERROR_CAPTION" "$FAILURE_PICTURE"
        await_exit "$saver"
        fail "$code" "the saver showed an error box instead of its picture (exit code $code)"
        ;;
    "$NOTICE_CAPTION")
        answer_box "$NOTICE_CAPTION" "$OUT/screenshot.png"
        pictures+=("$OUT/screenshot.png")
        await_exit "$saver"
        [ "$code" -eq 0 ] || fail "$code" "the saver ended with exit code $code"
        ;;
    *)
        capture "$FAILURE_PICTURE" || true
        if kill -0 "$saver" 2>/dev/null; then
            fail 1 "the saver showed nothing within $PLOVIX_TIMEOUT_WINDOW s"
        fi
        await_exit "$saver"
        fail "$code" "the saver ended without showing anything (exit code $code)"
        ;;
    esac
fi

for picture in "${pictures[@]}"; do
    plovix_log "picture: $picture"
done
exit "$code"

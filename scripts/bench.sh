#!/usr/bin/env bash
# The benchmark command: ./scripts/bench.sh [--rounds N] [--soak MINUTES]
#
# Installs what is missing, builds the win32 and win64 savers with the
# programs in bench/ and measures each saver beside four bare references
# that blink the same block: (a) with the loop the saver first had,
# PeekMessage and Sleep(10), (b) with a blocking GetMessage loop, (c) with
# that loop behind what the saver does before its first picture: switching
# the display to the picture's size, covering it and painting the picture,
# and (d) as (c) with a window over every other monitor, painted and
# blinking as the saver's are. The programs take turns (saver, a, b, c, saver, ...) for N
# rounds, 3 unless --rounds says otherwise, the saver and (c), or (d) on two
# monitors, starting more often for the first picture alone; each figure is
# the median of the rounds with their spread (min-max).
#
# It measures on the displays of the tests that cmake/PlovixDisplays.cmake
# gives it, each with a private Wine prefix: all programs on the Xvfb at the
# picture's size, where the switch changes nothing, and, as root, the saver
# and reference (c) on an Xorg screen (the dummy driver) that really
# switches, and the saver and reference (d) on one with a second monitor,
# which both cover as well.
#
# The driver (benchdriver.exe) starts each program and watches the screen
# and the process from the Windows side; plovix-procwatch watches the idle
# program from the Linux side, in /proc. --soak MINUTES adds, for each build,
# a run of the saver that long, sampling its working set and handles, and
# 100 runs of start, picture and key that must leave nothing behind.
#
# The report program (bench/report/) writes docs/benchmarks.md and the
# figures of the README's performance section from the raw figures, and the
# chart's script, which gnuplot draws into docs/benchmarks.png. Exits non-zero only when something could not
# be measured; what the programs printed is in build/bench/bench.log.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

usage() {
    echo "usage: ./scripts/bench.sh [--rounds N] [--soak MINUTES]" >&2
    exit 2
}

COMMAND_LINE="./scripts/bench.sh${*:+ $*}"
rounds=3
soak_minutes=0
while [ $# -gt 0 ]; do
    case $1 in
    --rounds | --soak)
        [[ ${2:-} =~ ^[1-9][0-9]{0,3}$ ]] || usage
        if [ "$1" = --rounds ]; then rounds=$2; else soak_minutes=$2; fi
        shift 2
        ;;
    *) usage ;;
    esac
done

WORK=$PLOVIX_ROOT/build/bench
rm -rf "$WORK"
mkdir -p "$WORK"
LOG=$WORK/bench.log
RESULTS=$WORK/results.tsv
: >"$LOG"
: >"$RESULTS"

# Each display's role in the report, with the programs measured there.
declare -A PROGRAMS_ON=([main]="saver polling blocking switching"
    [switch]="saver switching" [monitors]="saver monitors")
# The reference that does what the saver must do there, started in turns
# with it for the first picture.
declare -A TURNS_WITH=([main]=switching [switch]=switching [monitors]=monitors)
switching_packages=()
[ "$(id -u)" -ne 0 ] || switching_packages=("${PLOVIX_SWITCHING_PACKAGES[@]}")

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_WINE_PACKAGES[@]}" \
    "${switching_packages[@]}" gnuplot-nox
trap plovix_cleanup EXIT

presets=(win64)
if plovix_can_run_wine32; then
    presets=(win32 win64)
else
    plovix_log "this machine cannot run 32-bit programs; only the win64 build is measured"
fi
plovix_log "building the report and the process watcher (host)"
if ! { cmake --preset host &&
    cmake --build --preset host --target plovix-benchreport plovix-procwatch; } >>"$LOG" 2>&1; then
    plovix_log "the host build failed; see $LOG"
    exit 1
fi
plovix_use_build build/host
# The displays, by role: the Xvfb is the main one, an Xorg screen of one
# monitor the switch one, one of two monitors the monitors one.
DISPLAYS=()
declare -A ROLE_OF=()
for display in "${PLOVIX_DISPLAYS_FOR_BENCH[@]}"; do
    if [ "${PLOVIX_DISPLAY_ROOT[$display]}" = yes ] && [ "$(id -u)" -ne 0 ]; then
        plovix_log "not root: $display is not measured (Xorg's)"
        continue
    fi
    DISPLAYS+=("$display")
    ROLE_OF[$display]=main
    [ "${PLOVIX_DISPLAY_SERVER[$display]}" = Xvfb ] || ROLE_OF[$display]=switch
    [ "${PLOVIX_DISPLAY_MONITORS[$display]}" = 1 ] || ROLE_OF[$display]=monitors
done
for preset in "${presets[@]}"; do
    plovix_log "building $preset"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" --target Plovix \
        desktopprobe benchdriver reference-polling reference-blocking reference-switching \
        reference-monitors; } \
        >>"$LOG" 2>&1; then
        plovix_log "the $preset build failed; see $LOG"
        exit 1
    fi
done

declare -A FILE_OF=([saver]=Plovix.scr [polling]=reference-polling.exe
    [blocking]=reference-blocking.exe [switching]=reference-switching.exe
    [monitors]=reference-monitors.exe)
IDLE_SECONDS=20
FIRST_PICTURE_STARTS=8
CYCLES=100
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
failures=0

# record PRESET PROGRAM FIGURE VALUE, measured on the display of role `on`.
on=main
record() { printf '%s\t%s\t%s\t%s\t%s\n' "$on" "$@" >>"$RESULTS"; }

# The Linux processes of this prefix's running programs with that file name;
# Linux keeps the first 15 characters of it as the process's name.
linux_pids() {
    local name=${1:0:15} pid
    for pid in $(plovix_prefix_processes "$WINEPREFIX"); do
        [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] && printf '%s\n' "$pid"
    done
    return 0
}

linux_pid() {
    local pids
    mapfile -t pids < <(linux_pids "$1")
    [ ${#pids[@]} -gt 0 ] && printf '%s\n' "${pids[0]}"
}

# The CPU use of the program and of the wineserver, and the program's
# wakeups, over IDLE_SECONDS from now, as Linux counts them.
measure_idle() {
    local preset=$1 program=$2 pid server figures figure value
    pid=$(linux_pid "${FILE_OF[$program]}") || {
        plovix_log "$preset $program: its Linux process was not found"
        return 1
    }
    server=$(linux_pid wineserver64) || server=$(linux_pid wineserver) || {
        plovix_log "the Wine server's Linux process was not found"
        return 1
    }
    figures=$(build/host/tools/plovix-procwatch idle "$IDLE_SECONDS" "$pid" "$server" 2>>"$LOG") || {
        plovix_log "$preset $program: not measured while idle; see $LOG"
        return 1
    }
    while read -r figure value; do
        record "$preset" "$program" "$figure" "$value"
    done <<<"$figures"
}

# drive PRESET COMMAND PROGRAM [COUNT]: runs the driver and records every
# "figure value" line it prints; at "idle" it measures the idle program and
# then lets the driver go on. Fails when anything could not be measured.
drive() {
    local preset=$1 command=$2 program=$3 loader=wine line measured=yes turns=
    [ "$command" = first ] && turns=yes
    [ "$preset" = win64 ] && loader=$PLOVIX_WINE64
    coproc DRIVER {
        cd "build/$preset" && exec "$loader" ./benchdriver.exe "$command" "$program" "${@:4}" \
            2>>"$LOG"
    }
    local driver=$DRIVER_PID output input
    # Copies, because bash drops the coprocess's descriptors when it ends.
    exec {output}<&"${DRIVER[0]}" {input}>&"${DRIVER[1]}"
    while IFS= read -r -u "$output" line; do
        line=${line%$'\r'}
        case $line in
        idle)
            measure_idle "$preset" "$program" || measured=no
            echo go >&"$input"
            ;;
        sample\ *) printf '%s\t%s\n' "$preset" "${line#sample }" >>"$WORK/soak.tsv" ;;
        # The starts in turns are kept apart: each follows a start of the
        # other program, so both start under the same conditions.
        *\ *) record "$preset" "$program" "${turns:+turns_}${line%% *}" "${line#* }" ;;
        esac
    done
    exec {output}<&- {input}>&-
    wait "$driver" || measured=no
    if [ $measured = no ]; then
        plovix_log "$preset $program: $command could not be measured; see $LOG"
        failures=$((failures + 1))
    fi
}

# soak_and_cycles: the long run and the runs in a row, when asked for.
soak_and_cycles() {
    [ "$soak_minutes" -gt 0 ] || return 0
    : >"$WORK/soak.tsv"
    for preset in "${presets[@]}"; do
        plovix_log "$preset: the saver for $soak_minutes minutes"
        drive "$preset" soak saver $((soak_minutes * 60))
        plovix_log "$preset: $CYCLES runs of start, picture and key"
        drive "$preset" cycles saver "$CYCLES"
        record "$preset" saver cycles_linux_processes_left "$(linux_pids Plovix.scr | wc -l)"
    done
}

started=$(date +%s)
for display in "${DISPLAYS[@]}"; do
    on=${ROLE_OF[$display]}
    plovix_start_display "${PLOVIX_DISPLAY_SERVER[$display]}" "${PLOVIX_DISPLAY_SETTING[$display]}"
    plovix_start_wine "$PLOVIX_ROOT/build/wine/bench-$display"
    if [ "$on" = main ]; then
        plovix_check_display_switch "${presets[@]}"
    fi
    read -r -a programs <<<"${PROGRAMS_ON[$on]}"
    for ((round = 1; round <= rounds; round++)); do
        for preset in "${presets[@]}"; do
            plovix_log "$display, round $round of $rounds: $preset"
            for program in "${programs[@]}"; do
                drive "$preset" measure "$program"
            done
            if [ "$on" = main ]; then
                for program in "${programs[@]}"; do
                    drive "$preset" click "$program"
                done
            fi
            # The first picture varies most from start to start: the saver
            # and its reference start more often, in turns.
            for ((start = 1; start <= FIRST_PICTURE_STARTS; start++)); do
                drive "$preset" first saver
                drive "$preset" first "${TURNS_WITH[$on]}"
            done
            [ "$on" = monitors ] || drive "$preset" display saver
        done
    done
    if [ "$on" = main ]; then
        soak_and_cycles
    fi
    plovix_cleanup
done
on=main
read -r -a programs <<<"${PROGRAMS_ON[main]}"
for preset in "${presets[@]}"; do
    for program in "${programs[@]}"; do
        record "$preset" "$program" size_kib \
            "$(($(stat -c %s "build/$preset/${FILE_OF[$program]}") / 1024))"
    done
    # What the pictures and the other resources take of the saver's file.
    objdump=i686-w64-mingw32-objdump
    [ "$preset" = win64 ] && objdump=x86_64-w64-mingw32-objdump
    resources=$("$objdump" -h "build/$preset/Plovix.scr" | awk '$2 == ".rsrc" { print $3 }')
    record "$preset" saver resources_kib $((16#${resources:-0} / 1024))
done
elapsed=$(($(date +%s) - started))

# What the run was, for the report.
cpu_model=$(sed -n 's/^model name\s*:\s*//p' /proc/cpuinfo | head -n1)
wine_version=$(wine --version 2>/dev/null || "$PLOVIX_WINE64" --version)
{
    printf 'command\t%s\n' "$COMMAND_LINE"
    printf 'rounds\t%s\n' "$rounds"
    printf 'soak_minutes\t%s\n' "$soak_minutes"
    printf 'idle_seconds\t%s\n' "$IDLE_SECONDS"
    printf 'cycles\t%s\n' "$CYCLES"
    printf 'first_picture_starts\t%s\n' "$FIRST_PICTURE_STARTS"
    printf 'elapsed_seconds\t%s\n' "$elapsed"
    printf 'load_before\t%s\n' "$LOAD_BEFORE"
    printf 'load_after\t%s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
    printf 'machine\t%s\n' "$cpu_model, $(nproc) cores; $wine_version; Debian $(cat /etc/debian_version)"
    printf 'wine_version\t%s\n' "$wine_version"
    printf 'presets\t%s\n' "${presets[*]}"
    for display in "${DISPLAYS[@]}"; do
        printf 'display_%s\t%s\n' "${ROLE_OF[$display]}" "$display"
    done
    printf 'picture_kib\t%s\n' $(($(stat -c %s src/app/resources/startup.bmp) / 1024))
} >"$WORK/context.tsv"

# The statistics, docs/benchmarks.md, the chart's script and the README's
# performance section come from the report program; gnuplot draws the chart.
if ! build/host/bench/plovix-benchreport "$WORK" "$PLOVIX_ROOT"; then
    plovix_log "the report could not be written"
    exit 1
fi
gnuplot "$WORK/chart.gp" >>"$LOG" 2>&1 || plovix_log "gnuplot could not draw the chart; see $LOG"

plovix_log "wrote docs/benchmarks.md and docs/benchmarks.png"
if [ $failures -gt 0 ]; then
    plovix_log "$failures measurements could not be taken; see $LOG"
    exit 1
fi

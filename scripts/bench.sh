#!/usr/bin/env bash
# The benchmark command: ./scripts/bench.sh [--rounds N] [--soak MINUTES]
#
# Installs what is missing, builds the win32 and win64 savers with the
# programs in bench/ and measures each saver beside two bare references that
# blink the same block: (a) with the saver's kind of loop, PeekMessage and
# Sleep(10), and (b) with a blocking GetMessage loop. The three take turns
# (saver, a, b, saver, ...) for N rounds, 3 unless --rounds says otherwise,
# in a private 800x600 virtual display and Wine prefix; each figure is the
# median of the rounds with their spread (min-max).
#
# The driver (benchdriver.exe) starts each program and watches the screen
# and the process from the Windows side; this command watches the idle
# program from the Linux side, in /proc. --soak MINUTES adds, for each build,
# a run of the saver that long, sampling its working set and handles, and
# 100 runs of start, picture and key that must leave nothing behind.
#
# Writes docs/benchmarks.md, docs/benchmarks.png and the figures of the
# README's performance section. Exits non-zero only when something could not
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
STATS=$WORK/stats.tsv
: >"$LOG"
: >"$RESULTS"

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_WINE_PACKAGES[@]}" gnuplot-nox
trap plovix_cleanup EXIT

presets=(win64)
if plovix_can_run_wine32; then
    presets=(win32 win64)
else
    plovix_log "this machine cannot run 32-bit programs; only the win64 build is measured"
fi
for preset in "${presets[@]}"; do
    plovix_log "building $preset"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" --target Plovix \
        desktopprobe benchdriver reference-polling reference-blocking; } >>"$LOG" 2>&1; then
        plovix_log "the $preset build failed; see $LOG"
        exit 1
    fi
done

plovix_start_display 800x600
plovix_start_wine "$PLOVIX_ROOT/build/wine/bench"
plovix_check_display_switch "${presets[@]}"

PROGRAMS=(saver polling blocking)
declare -A FILE_OF=([saver]=Plovix.scr [polling]=reference-polling.exe
    [blocking]=reference-blocking.exe)
IDLE_SECONDS=20
CYCLES=100
CLOCK_TICKS=$(getconf CLK_TCK)
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
ROUNDS_TEXT="$rounds rounds"
[ "$rounds" -eq 1 ] && ROUNDS_TEXT="1 round"
failures=0

# record PRESET PROGRAM FIGURE VALUE
record() { printf '%s\t%s\t%s\t%s\n' "$@" >>"$RESULTS"; }

# The Linux processes of this prefix's running programs with that file name;
# Linux keeps the first 15 characters of it as the process's name. Other
# prefixes on the machine may run the same programs.
linux_pids() {
    local name=${1:0:15} dir environment
    for dir in /proc/[0-9]*; do
        [ "$(cat "$dir/comm" 2>/dev/null)" = "$name" ] || continue
        environment=$(tr '\0' '\n' 2>/dev/null <"$dir/environ") || continue
        if grep -qxF "WINEPREFIX=$WINEPREFIX" <<<"$environment"; then
            printf '%s\n' "${dir#/proc/}"
        fi
    done
}

linux_pid() {
    local pids
    mapfile -t pids < <(linux_pids "$1")
    [ ${#pids[@]} -gt 0 ] && printf '%s\n' "${pids[0]}"
}

# utime + stime of all the process's threads, in clock ticks.
cpu_ticks() {
    local stat fields
    stat=$(cat "/proc/$1/stat") || return 1
    read -r -a fields <<<"${stat##*) }"
    echo $((fields[11] + fields[12]))
}

# Voluntary context switches of all the process's threads: each is a wakeup
# after the thread waited.
wakeups() {
    cat "/proc/$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

# The CPU use of the program and of the wineserver, and the program's
# wakeups, over IDLE_SECONDS from now.
measure_idle() {
    local preset=$1 program=$2 pid server
    pid=$(linux_pid "${FILE_OF[$program]}") || {
        plovix_log "$preset $program: its Linux process was not found"
        return 1
    }
    server=$(linux_pid wineserver64) || server=$(linux_pid wineserver) || {
        plovix_log "the Wine server's Linux process was not found"
        return 1
    }
    local p0 s0 w0 t0 p1 s1 w1 t1
    p0=$(cpu_ticks "$pid") && s0=$(cpu_ticks "$server") && w0=$(wakeups "$pid") || return 1
    t0=$(date +%s%N)
    sleep "$IDLE_SECONDS"
    p1=$(cpu_ticks "$pid") && s1=$(cpu_ticks "$server") && w1=$(wakeups "$pid") || {
        plovix_log "$preset $program: it ended while idle"
        return 1
    }
    t1=$(date +%s%N)
    awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v w=$((w1 - w0)) -v hz="$CLOCK_TICKS" \
        -v ns=$((t1 - t0)) -v preset="$preset" -v program="$program" 'BEGIN {
            seconds = ns / 1e9
            printf "%s\t%s\tcpu_pct\t%.3f\n", preset, program, 100 * (p + s) / hz / seconds
            printf "%s\t%s\tcpu_program_pct\t%.3f\n", preset, program, 100 * p / hz / seconds
            printf "%s\t%s\tcpu_server_pct\t%.3f\n", preset, program, 100 * s / hz / seconds
            printf "%s\t%s\twakeups_per_s\t%.1f\n", preset, program, w / seconds
        }' >>"$RESULTS"
}

# drive PRESET COMMAND PROGRAM [COUNT]: runs the driver and records every
# "figure value" line it prints; at "idle" it measures the idle program and
# then lets the driver go on. Fails when anything could not be measured.
drive() {
    local preset=$1 command=$2 program=$3 loader=wine line measured=yes
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
        *\ *) record "$preset" "$program" "${line%% *}" "${line#* }" ;;
        esac
    done
    exec {output}<&- {input}>&-
    wait "$driver" || measured=no
    if [ $measured = no ]; then
        plovix_log "$preset $program: $command could not be measured; see $LOG"
        failures=$((failures + 1))
    fi
}

started=$(date +%s)
for ((round = 1; round <= rounds; round++)); do
    for preset in "${presets[@]}"; do
        plovix_log "round $round of $rounds: $preset"
        for program in "${PROGRAMS[@]}"; do
            drive "$preset" measure "$program"
            drive "$preset" click "$program"
        done
        drive "$preset" display saver
    done
done
for preset in "${presets[@]}"; do
    for program in "${PROGRAMS[@]}"; do
        record "$preset" "$program" size_kib \
            "$(($(stat -c %s "build/$preset/${FILE_OF[$program]}") / 1024))"
    done
    # What the pictures and the other resources take of the saver's file.
    objdump=i686-w64-mingw32-objdump
    [ "$preset" = win64 ] && objdump=x86_64-w64-mingw32-objdump
    resources=$("$objdump" -h "build/$preset/Plovix.scr" | awk '$2 == ".rsrc" { print $3 }')
    record "$preset" saver resources_kib $((16#${resources:-0} / 1024))
done
if [ "$soak_minutes" -gt 0 ]; then
    : >"$WORK/soak.tsv"
    for preset in "${presets[@]}"; do
        plovix_log "$preset: the saver for $soak_minutes minutes"
        drive "$preset" soak saver $((soak_minutes * 60))
        plovix_log "$preset: $CYCLES runs of start, picture and key"
        drive "$preset" cycles saver "$CYCLES"
        record "$preset" saver cycles_linux_processes_left "$(linux_pids Plovix.scr | wc -l)"
    done
fi
elapsed=$(($(date +%s) - started))

# Median, least and greatest value of each figure over the rounds; "n/a"
# where the system gave none.
awk -F'\t' '
    {
        key = $1 FS $2 FS $3
        if ($4 == "n/a") { na[key] = 1; next }
        n = ++count[key]
        values[key, n] = $4 + 0
    }
    END {
        for (key in na) if (!(key in count)) print key FS "n/a" FS "n/a" FS "n/a"
        for (key in count) {
            n = count[key]
            for (i = 1; i <= n; i++) v[i] = values[key, i]
            for (i = 2; i <= n; i++)
                for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
            median = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
            print key FS median FS v[1] FS v[n]
        }
    }' "$RESULTS" | sort >"$STATS"

# stat PRESET PROGRAM FIGURE COLUMN (median, min or max); empty if none.
stat_of() {
    awk -F'\t' -v p="$1" -v g="$2" -v f="$3" -v c="$4" '
        $1 == p && $2 == g && $3 == f {
            print $(c == "median" ? 4 : c == "min" ? 5 : 6)
        }' "$STATS"
}

# "median (min–max)" in the given number of decimals, scaled.
cell() {
    local median min max
    median=$(stat_of "$1" "$2" "$3" median)
    min=$(stat_of "$1" "$2" "$3" min)
    max=$(stat_of "$1" "$2" "$3" max)
    if [ -z "$median" ]; then
        echo "not measured"
    elif [ "$median" = n/a ]; then
        echo "n/a"
    else
        awk -v m="$median" -v a="$min" -v b="$max" -v d="$4" -v s="${5:-1}" 'BEGIN {
            if (a == b) printf "%.*f", d, m / s
            else printf "%.*f (%.*f–%.*f)", d, m / s, d, a / s, d, b / s
        }'
    fi
}

# The saver's median over reference (b)'s, as "N.N×".
ratio() {
    local saver blocking
    saver=$(stat_of "$1" saver "$2" median)
    blocking=$(stat_of "$1" blocking "$2" median)
    awk -v a="$saver" -v b="$blocking" 'BEGIN {
        if (a == "" || b == "" || a == "n/a" || b == "n/a" || b == 0) print "–"
        else printf "%.1f×", a / b
    }'
}

FIGURES=(
    "cpu_pct|Idle CPU, program + wineserver (% of one core)|2"
    "cpu_program_pct|… of which the program|2"
    "cpu_server_pct|… of which the wineserver|2"
    "wakeups_per_s|Wakeups per second|1"
    "first_frame_ms|First complete picture (ms from start)|0"
    "exit_key_ms|Exit after a key (ms)|0"
    "exit_click_ms|Exit after a click (ms)|0"
    "blink_interval_ms|Blink interval (ms; the timer asks for 350)|1"
    "blink_jitter_ms|Blink jitter (ms, standard deviation)|1"
    "blink_sample_ms|Blink sampling step (ms)|1"
    "peak_working_set_kib|Peak working set (MiB)|1|1024"
    "handles|Handles (GetProcessHandleCount)|0"
    "listed_handles|Handles in the system's handle list|0"
    "gdi_objects|GDI objects (GetGuiResources)|0"
    "user_objects|USER objects (GetGuiResources)|0"
    "size_kib|File size (KiB)|0"
    "resources_kib|… of which resources: pictures, icon, version (KiB)|0"
    "display_read_ms|Reading the display mode (ms)|0"
    "display_switch_ms|Switching to 800×600 (ms)|0"
    "display_restore_ms|Putting the mode back after 3 s (ms)|0"
)
# Figures of what only the saver has or does: the display-mode calls are
# timed by the driver itself, making the same calls the saver makes.
SAVER_ONLY='^(resources_kib|display_.*)$'

table() {
    local preset=$1 entry figure label decimals scale
    echo "| $preset | saver | reference (a) | reference (b) | saver ÷ (b) |"
    echo "| --- | --- | --- | --- | --- |"
    for entry in "${FIGURES[@]}"; do
        IFS='|' read -r figure label decimals scale <<<"$entry"
        if [[ $figure =~ $SAVER_ONLY ]]; then
            printf '| %s | %s | – | – | – |\n' "$label" \
                "$(cell "$preset" saver "$figure" "$decimals" "$scale")"
            continue
        fi
        printf '| %s | %s | %s | %s | %s |\n' "$label" \
            "$(cell "$preset" saver "$figure" "$decimals" "$scale")" \
            "$(cell "$preset" polling "$figure" "$decimals" "$scale")" \
            "$(cell "$preset" blocking "$figure" "$decimals" "$scale")" \
            "$(ratio "$preset" "$figure")"
    done
}

# goal_cell PRESET EXPRESSION TEXT: TEXT and "met" when the awk EXPRESSION
# over the medians (s_* the saver's, b_* reference (b)'s) holds, else "gap".
goal_cell() {
    local preset=$1 expression=$2 text=$3 figure variables=()
    for figure in cpu_pct wakeups_per_s first_frame_ms exit_key_ms exit_click_ms \
        blink_interval_ms size_kib; do
        variables+=(-v "s_$figure=$(stat_of "$preset" saver "$figure" median)"
            -v "b_$figure=$(stat_of "$preset" blocking "$figure" median)")
    done
    awk "${variables[@]}" -v text="$text" "BEGIN {
        if (s_cpu_pct == \"\" || b_cpu_pct == \"\") print \"not measured\"
        else printf \"%s: %s\", text, (($expression) ? \"met\" : \"**gap**\")
    }"
}

# soak_growth PRESET: the growth of the working set (KiB) and of both handle
# counts after the first minute, as "KiB handles listed"; empty without a
# long run.
soak_growth() {
    local figure values=()
    for figure in soak_working_set_kib soak_handles soak_listed_handles; do
        values+=("$(awk -F'\t' -v p="$1" -v f="$figure" '$1 == p && $3 == f {
            split($4, v, " "); print v[2] - v[1]; exit }' "$RESULTS")")
    done
    [ -n "${values[0]}" ] && echo "${values[@]}"
}

goals() {
    local preset header="| Goal |" rule="| --- |" entry label expression text row
    for preset in "${presets[@]}"; do
        header+=" $preset |"
        rule+=" --- |"
    done
    printf '%s\n%s\n' "$header" "$rule"
    for entry in \
        "Idle CPU ≤ 1.3× reference (b)|s_cpu_pct <= 1.3 * b_cpu_pct|ratio cpu_pct" \
        "≤ 5 wakeups per second idle|s_wakeups_per_s <= 5|cell wakeups_per_s 1" \
        "First picture ≤ 1.1× reference (b)'s|s_first_frame_ms <= 1.1 * b_first_frame_ms|ratio first_frame_ms" \
        "Exit after a key ≤ reference (b)'s + 30 ms|s_exit_key_ms <= b_exit_key_ms + 30|exit exit_key_ms" \
        "Exit after a click ≤ reference (b)'s + 30 ms|s_exit_click_ms <= b_exit_click_ms + 30|exit exit_click_ms" \
        "Blink interval 350 ± 10 ms|s_blink_interval_ms >= 340 && s_blink_interval_ms <= 360|cell blink_interval_ms 1" \
        "\`Plovix.scr\` ≤ 350 KiB|s_size_kib <= 350|cell size_kib 0"; do
        IFS='|' read -r label expression text <<<"$entry"
        row="| $label |"
        for preset in "${presets[@]}"; do
            case $text in
            ratio\ *) text_value=$(ratio "$preset" "${text#ratio }") ;;
            exit\ *) text_value="$(stat_of "$preset" saver "${text#exit }" median | cut -d. -f1) against $(stat_of "$preset" blocking "${text#exit }" median | cut -d. -f1) ms" ;;
            cell\ *) read -r _ figure decimals <<<"$text"
                text_value=$(cell "$preset" saver "$figure" "$decimals" | cut -d' ' -f1) ;;
            esac
            row+=" $(goal_cell "$preset" "$expression" "$text_value") |"
        done
        echo "$row"
    done
    if [ "$soak_minutes" -gt 0 ]; then
        row="| No growth after the first minute of a long run |"
        for preset in "${presets[@]}"; do
            read -r memory handles listed <<<"$(soak_growth "$preset")"
            if [ -z "${memory:-}" ]; then
                row+=" not measured |"
                continue
            fi
            text_value="$memory KiB, $handles + $listed handles"
            if [ "$memory" -le 0 ] && [ "$handles" -le 0 ] && [ "$listed" -le 0 ]; then
                row+=" $text_value: met |"
            else
                row+=" $text_value: **gap** |"
            fi
        done
        echo "$row"
    fi
}

# What stands between each goal not met and its figure, from the figures of
# this run.
gaps() {
    local preset=${presets[-1]} picture_kib
    picture_kib=$(($(stat -c %s src/app/resources/startup.bmp) / 1024))
    median() { stat_of "$preset" "$1" "$2" median | awk '{ printf "%.0f", $1 }'; }
    echo "Where the gaps come from (figures of $preset):"
    echo
    echo "- **First picture and exit.** Before its window appears the saver reads the display mode"
    echo "  and switches it to 800×600, and before it ends it puts the user's mode back; the"
    echo "  references do neither. The driver, making the same calls, timed them at"
    echo "  $(median saver display_read_ms) ms + $(median saver display_switch_ms) ms at the start and"
    echo "  $(median saver display_restore_ms) ms at the end, against a difference to reference (b) of"
    echo "  $(awk -v a="$(median saver first_frame_ms)" -v b="$(median blocking first_frame_ms)" 'BEGIN { print a - b }') ms"
    echo "  for the first picture and $(awk -v a="$(median saver exit_key_ms)" -v b="$(median blocking exit_key_ms)" 'BEGIN { print a - b }') ms"
    echo "  for the exit after a key. Under Wine, putting the mode back right after the switch takes"
    echo "  several times longer than after a few seconds, so both exits are measured from a settled"
    echo "  program. The switch is what the saver is for; on a real display it costs more, not less."
    echo "- **Wakeups.** Reference (b) waits in GetMessage and is due only 3 times a second, yet"
    echo "  wakes $(median blocking wakeups_per_s) times a second here: Wine's own threads in every"
    echo "  program wake it. A goal of 5 is below what a blinking window reaches under Wine; the"
    echo "  saver, $(median saver wakeups_per_s), is within a few wakeups of that floor."
    echo "- **Idle CPU.** The program's own share is $(ratio "$preset" cpu_program_pct) reference (b)'s;"
    echo "  the rest of the difference is the wineserver's ($(ratio "$preset" cpu_server_pct)). The saver"
    echo "  arms its timer again on every blink, one server call more per blink than (b) makes;"
    echo "  what else the server does for it was not traced."
    echo "- **File size.** Resources take $(median saver resources_kib) KiB of the file, the"
    echo "  800×600 picture alone $picture_kib KiB: it is stored as the saver is designed to carry it,"
    echo "  an uncompressed 4-bit bitmap. The code beside it,"
    echo "  $(($(median saver size_kib) - $(median saver resources_kib))) KiB, compares with the references' whole file of"
    echo "  $(median blocking size_kib) KiB, which link the same window-system library and most of the"
    echo "  same static C++ library (strings, exceptions, threads)."
}

cpu_model=$(sed -n 's/^model name\s*:\s*//p' /proc/cpuinfo | head -n1)
wine_version=$(wine --version 2>/dev/null || "$PLOVIX_WINE64" --version)
machine="$cpu_model, $(nproc) cores; $wine_version; Debian $(cat /etc/debian_version)"

# The chart: one panel per figure, the builds side by side, each bar the
# median with the spread as its error bar.
CHART_DATA=$WORK/chart.dat
{
    for figure in cpu_pct wakeups_per_s first_frame_ms exit_key_ms exit_click_ms; do
        x=0
        for preset in "${presets[@]}"; do
            for program in "${PROGRAMS[@]}"; do
                printf '%s %s %s %s\n' $x "$(stat_of "$preset" "$program" "$figure" median)" \
                    "$(stat_of "$preset" "$program" "$figure" min)" \
                    "$(stat_of "$preset" "$program" "$figure" max)" |
                    awk 'NF < 4 { $0 = $1 " NaN NaN NaN" } { print }' 
                x=$((x + 1))
            done
            x=$((x + 1))
        done
        printf '\n\n'
    done
} >"$CHART_DATA"
xtics=
x=0
for preset in "${presets[@]}"; do
    xtics+="\"saver\\n$preset\" $x, \"ref. (a)\\n$preset\" $((x + 1)), "
    xtics+="\"ref. (b)\\n$preset\" $((x + 2)), "
    x=$((x + 4))
done
gnuplot >>"$LOG" 2>&1 <<EOF || plovix_log "gnuplot could not draw the chart; see $LOG"
set terminal pngcairo size 1100,820 font "DejaVu Sans,10"
set output "docs/benchmarks.png"
set multiplot layout 2,2 title "Plovix.scr (saver) against reference (a), PeekMessage + Sleep(10), and (b), GetMessage: median of $ROUNDS_TEXT, bars min–max"
set style fill solid 0.85 border -1
set xtics (${xtics%, }) nomirror
set xrange [-0.7:$((x - 1)).7]
set yrange [0:*]
set bmargin 4
# Only a spread gets an error bar.
spread(median, least, greatest) = least == greatest ? NaN : median
set grid ytics
set key top right
colour(x) = int(x) % 4 == 0 ? 0x3939DE : int(x) % 4 == 1 ? 0x9C9CFF : 0xB0B0B0
set title "Idle CPU, program + wineserver (% of one core)"
plot "$CHART_DATA" index 0 using 1:2:(0.7):(colour(\$1)) with boxes lc rgb variable notitle, \
     "" index 0 using 1:(spread(\$2, \$3, \$4)):3:4 with yerrorbars lc black pt 0 ps 0 notitle
set title "Wakeups per second (voluntary context switches)"
plot "" index 1 using 1:2:(0.7):(colour(\$1)) with boxes lc rgb variable notitle, \
     "" index 1 using 1:(spread(\$2, \$3, \$4)):3:4 with yerrorbars lc black pt 0 ps 0 notitle
set title "First complete picture (ms from start)"
plot "" index 2 using 1:2:(0.7):(colour(\$1)) with boxes lc rgb variable notitle, \
     "" index 2 using 1:(spread(\$2, \$3, \$4)):3:4 with yerrorbars lc black pt 0 ps 0 notitle
set title "Exit after a key and after a click (ms)"
plot "" index 3 using (\$1 - 0.19):2:(0.36):(colour(\$1)) with boxes lc rgb variable title "key", \
     "" index 3 using (\$1 - 0.19):(spread(\$2, \$3, \$4)):3:4 with yerrorbars lc black pt 0 ps 0 notitle, \
     "" index 4 using (\$1 + 0.19):2:(0.36) with boxes fs pattern 4 lc rgb "#3939DE" title "click", \
     "" index 4 using (\$1 + 0.19):(spread(\$2, \$3, \$4)):3:4 with yerrorbars lc black pt 0 ps 0 notitle
unset multiplot
EOF

{
    echo "# Benchmarks"
    echo
    echo "How much the saver costs while it shows its picture, how fast it shows it and how fast"
    echo "it goes, beside two bare programs that blink the same 16×16 block at (80,190) every"
    echo "350 ms in a top-most 800×600 window: reference (a) takes one message per pass and then"
    echo "sleeps 10 ms, as the saver's loop does; reference (b) waits in GetMessage, the least a"
    echo "blinking window can cost. Each cell is the median of $ROUNDS_TEXT (each round starts"
    echo "every program twice, and both starts count for the first picture and the blink), the spread (least–"
    echo "greatest) in brackets; the programs took turns (saver, a, b, saver, …)."
    echo
    echo "- Machine: $machine"
    echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC'); $((elapsed / 60)) min $((elapsed % 60)) s of measuring"
    echo "- Load average (1, 5, 15 min) before and after: $LOAD_BEFORE; $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "- Command: \`$COMMAND_LINE\`"
    echo
    echo "## Goals"
    echo
    goals
    echo
    gaps
    for preset in "${presets[@]}"; do
        echo
        echo "## $preset"
        echo
        table "$preset"
    done
    echo
    echo "![The figures as bars: median, spread as error bars](benchmarks.png)"
    if [ "$soak_minutes" -gt 0 ]; then
        echo
        echo "## Long run"
        echo
        echo "The saver ran $soak_minutes min in each build, sampled every 5 s; then $CYCLES runs"
        echo "of start, first picture and key in a row."
        echo
        header="| |"
        rule="| --- |"
        for preset in "${presets[@]}"; do
            header+=" $preset |"
            rule+=" --- |"
        done
        printf '%s\n%s\n' "$header" "$rule"
        for entry in "soak_working_set_kib|Working set after 1 min → at the end (KiB)" \
            "soak_listed_handles|Handles in the system's list after 1 min → at the end" \
            "soak_handles|Handles (GetProcessHandleCount) after 1 min → at the end" \
            "cycles_without_picture|Runs without a complete picture" \
            "cycles_not_ended|Runs that did not end within 10 s of the key" \
            "cycles_windows_left|Runs that left a window of the saver's class" \
            "cycles_pictures_left|Runs after which the picture stayed on the screen" \
            "cycles_processes_left|Saver processes Wine still listed after the runs" \
            "cycles_linux_processes_left|Saver processes Linux still had after the runs"; do
            IFS='|' read -r figure label <<<"$entry"
            row="| $label |"
            for preset in "${presets[@]}"; do
                value=$(awk -F'\t' -v p="$preset" -v f="$figure" '$1 == p && $3 == f { print $4 }' \
                    "$RESULTS" | head -n1)
                case $figure in
                soak_*) value=$(awk '{ if (NF == 2) printf "%s → %s (%+d)", $1, $2, $2 - $1 }' \
                    <<<"$value") ;;
                esac
                row+=" ${value:-not measured} |"
            done
            echo "$row"
        done
    fi
    echo
    echo "## How each figure is measured"
    echo
    echo "\`bench/\` holds the driver (\`benchdriver.exe\`) and the two references, built with the"
    echo "saver; \`scripts/bench.sh\` runs them under Wine in a private 800×600 Xvfb display and Wine"
    echo "prefix (\`build/wine/bench\`) and keeps every raw figure in \`build/bench/results.tsv\`."
    echo
    echo "- **Idle CPU** and **wakeups**: from the Linux side, over $IDLE_SECONDS s once the picture"
    echo "  is up and the blink was sampled: utime + stime in \`/proc/<pid>/stat\` of the program's"
    echo "  Linux process and of the prefix's wineserver (which every call into Wine's window system"
    echo "  wakes), and the voluntary context switches of all the program's threads"
    echo "  (\`/proc/<pid>/task/*/status\`). The prefix's own services idle meanwhile and count in the"
    echo "  wineserver's share for every program alike."
    echo "- **First complete picture**: from just before \`CreateProcess\` to the first sample, taken"
    echo "  with \`GetPixel\` on the screen's device context, in which the border (10,10), the text"
    echo "  area (400,400) and the block (88,198) have their blues, and for the saver the first"
    echo "  letter of its banner (145,111) is light."
    echo "- **Exit after a key or a click**: from just before \`SendInput\` (a space key, or a left"
    echo "  button press and release) to the end of the process; a click is measured in a start of"
    echo "  its own, once the blink has been sampled."
    echo "- **Display mode**: the driver itself reads the current mode (\`EnumDisplaySettingsA\`),"
    echo "  switches to 800×600 (\`ChangeDisplaySettingsA\`, \`CDS_FULLSCREEN\`) and, 3 s later, puts"
    echo "  the mode back (\`ChangeDisplaySettingsA(NULL, 0)\`), as the saver does, timing each call."
    echo "- **Blink**: the pixel (88,198) sampled for 3 s; the mean time between two changes and its"
    echo "  standard deviation. Samples take about a millisecond, which bounds the jitter's precision."
    echo "- **Memory and objects**: \`GetProcessMemoryInfo\`, \`GetProcessHandleCount\` and"
    echo "  \`GetGuiResources\` after the idle time; \"n/a\" where Wine answers 0. Wine's"
    echo "  \`GetProcessHandleCount\` does, so the handles are also counted in the system's handle list"
    echo "  (\`NtQuerySystemInformation\`), which Wine fills. Under Wine the working set is the Linux"
    echo "  process's resident memory, Wine's own libraries included."
    echo "- **File size**: of \`Plovix.scr\` and of the references' \`.exe\`, all statically linked"
    echo "  and stripped."
} >docs/benchmarks.md

# The README's performance section, between its two marker lines.
headline() {
    local preset=$1
    printf '| %s | %s | %s / %s / %s | %s | %s / %s | %s KiB |\n' "$preset" \
        "$(ratio "$preset" cpu_pct) ($(cell "$preset" saver cpu_pct 2 | cut -d' ' -f1) % against $(cell "$preset" blocking cpu_pct 2 | cut -d' ' -f1) %)" \
        "$(cell "$preset" saver wakeups_per_s 0 | cut -d' ' -f1)" \
        "$(cell "$preset" polling wakeups_per_s 0 | cut -d' ' -f1)" \
        "$(cell "$preset" blocking wakeups_per_s 0 | cut -d' ' -f1)" \
        "$(ratio "$preset" first_frame_ms) ($(cell "$preset" saver first_frame_ms 0 | cut -d' ' -f1) against $(cell "$preset" blocking first_frame_ms 0 | cut -d' ' -f1) ms)" \
        "$(cell "$preset" saver exit_key_ms 0 | cut -d' ' -f1)" \
        "$(cell "$preset" saver exit_click_ms 0 | cut -d' ' -f1) ms" \
        "$(stat_of "$preset" saver size_kib median)"
}
section=$WORK/readme-section.md
{
    echo "Measured by \`./scripts/bench.sh\` on $(date -u +%Y-%m-%d) under $wine_version, beside a"
    echo "bare window that blinks the same block with a blocking GetMessage loop, reference (b);"
    echo "the goals and their gaps, the tables, the method and reference (a) are in [docs/benchmarks.md](docs/benchmarks.md)."
    echo
    echo "| build | idle CPU, saver ÷ (b) | wakeups/s, saver / (a) / (b) | first picture, saver ÷ (b) | exit after key / click | \`Plovix.scr\` |"
    echo "| --- | --- | --- | --- | --- | --- |"
    for preset in "${presets[@]}"; do
        headline "$preset"
    done
    echo
    echo "![The saver against the references](docs/benchmarks.png)"
} >"$section"
START_MARK='<!-- performance: written by ./scripts/bench.sh -->'
END_MARK='<!-- end of performance -->'
if grep -qxF "$START_MARK" README.md && grep -qxF "$END_MARK" README.md; then
    awk -v start="$START_MARK" -v end="$END_MARK" -v section="$section" '
        $0 == start { print; while ((getline line < section) > 0) print line; skip = 1; next }
        $0 == end { skip = 0 }
        !skip' README.md >"$WORK/README.md"
    cp "$WORK/README.md" README.md
else
    plovix_log "README.md has no performance section to fill in"
fi

plovix_log "wrote docs/benchmarks.md and docs/benchmarks.png"
if [ $failures -gt 0 ]; then
    plovix_log "$failures measurements could not be taken; see $LOG"
    exit 1
fi

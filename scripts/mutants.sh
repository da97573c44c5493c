#!/usr/bin/env bash
# Proves that the tests catch faults: plants each fault of tests/mutants.txt
# in turn in a copy of the working tree, builds the host and win64 presets,
# and runs the one test the fault names as its catcher, twice: it must fail
# both times. When it passes, the fault's suites are run to name what does
# catch it, if anything: host, and win64 on each display that
# cmake/PlovixDisplays.cmake gives this command (those that need root only
# as root); for a fault in how the packages are made, the installer's
# suite. Prints each fault's catcher; exits non-zero if any fault survives,
# is caught only by another test or only once in two runs, does not build,
# or no longer applies.
#
#   ./scripts/mutants.sh [--check] [NAME...]
#
# --check only proves that every fault still applies. NAMEs run those faults
# only. Too slow for the test command; run it before changing the tests.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

check_only=no
if [ "${1:-}" = --check ]; then
    check_only=yes
    shift
fi
wanted=("$@")

FAULTS=tests/mutants.txt
COPY=$PLOVIX_ROOT/build/mutants/tree

# The faults, read into parallel arrays: name, file, catcher ("PRESET TEST"
# or "build"), and the "-"/"+" lines as one string of "from<TAB>to" pairs
# separated by newlines.
names=()
files=()
catchers=()
changes=()
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
    'fault '*)
        names+=("$(sed 's/^fault \([^:]*\):.*/\1/' <<<"$line")")
        files+=("")
        catchers+=("")
        changes+=("")
        ;;
    'in '*) files[-1]=${line#in } ;;
    'by '*) catchers[-1]=${line#by } ;;
    '- '*) changes[-1]+="${line#- }"$'\t' ;;
    '+ '*) changes[-1]+="${line#+ }"$'\n' ;;
    esac
done <"$FAULTS"

# apply FILE FROM TO: replaces the one line of FILE that reads FROM (its
# indentation aside) with TO, indented alike; fails when there is not
# exactly one.
apply() {
    local file=$1
    # Through the environment: awk's -v would read the backslashes in C++.
    export FAULT_FROM=$2 FAULT_TO=$3
    if ! awk '{ line = $0; sub(/^[ \t]+/, "", line) }
        line == ENVIRON["FAULT_FROM"] {
            n++
            match($0, /^[ \t]*/)
            $0 = substr($0, 1, RLENGTH) ENVIRON["FAULT_TO"]
        }
        { print }
        END { if (n != 1) { print "found " n + 0 " times" > "/dev/stderr"; exit 1 } }' \
        "$file" 2>"$file.count" >"$file.planted"; then
        echo "$(cat "$file.count") in $file: $2"
        rm -f "$file.planted" "$file.count"
        return 1
    fi
    # Written over, so that a script keeps its mode.
    cat "$file.planted" >"$file"
    rm -f "$file.planted" "$file.count"
}

# plant INDEX: plants the fault in the copy, keeping the file as it was;
# prints why not when it cannot.
plant() {
    local index=$1 from to
    cp -p "$COPY/${files[$index]}" "$COPY/${files[$index]}.unplanted"
    echo "${files[$index]}" >"$PLANTED"
    while IFS=$'\t' read -r from to; do
        [ -n "$from" ] || continue
        apply "$COPY/${files[$index]}" "$from" "$to" || return 1
    done <<<"${changes[$index]}"
}

# unplant INDEX: puts the file back, with a new time, so that the next build
# redoes what the fault touched.
unplant() {
    local file=$COPY/${files[$1]}
    if [ -f "$file.unplanted" ]; then
        cp "$file.unplanted" "$file"
        rm "$file.unplanted"
    fi
    rm -f "$PLANTED"
}

# The copy: the files git knows or would take, as they are now, their times
# kept, so that the copy's builds redo only what a fault changes.
# A run stopped while a fault was planted left its objects newer than the
# file copied back: that file gets a new time, so that they are made again.
PLANTED=$COPY/build/planted
plovix_log "copying the working tree to $COPY"
mkdir -p "$COPY/build"
find "$COPY" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
git ls-files -z --cached --others --exclude-standard | xargs -0 cp -p --parents -t "$COPY"
if [ -f "$PLANTED" ]; then
    touch -c "$COPY/$(cat "$PLANTED")"
    rm "$PLANTED"
fi

selected=()
for i in "${!names[@]}"; do
    if [ ${#wanted[@]} -gt 0 ] && ! printf '%s\n' "${wanted[@]}" | grep -qxF "${names[$i]}"; then
        continue
    fi
    selected+=("$i")
done
if [ ${#selected[@]} -eq 0 ]; then
    plovix_log "no fault of $FAULTS is named ${wanted[*]}"
    exit 1
fi

# Every fault must still apply, and name its catcher, before anything is
# built.
stale=0
for i in "${selected[@]}"; do
    if [ -z "${catchers[$i]}" ]; then
        plovix_log "${names[$i]} names no test that catches it (a \"by\" line)"
        stale=1
    fi
    if ! why=$(plant "$i"); then
        plovix_log "${names[$i]} no longer applies: $why"
        stale=1
    fi
    unplant "$i"
done
[ $stale -eq 0 ] || exit 1
if [ $check_only = yes ]; then
    plovix_log "all ${#selected[@]} faults apply"
    exit 0
fi

plovix_ensure_packages "${PLOVIX_BUILD_PACKAGES[@]}" "${PLOVIX_WINE_PACKAGES[@]}" \
    "${PLOVIX_SWITCHING_PACKAGES[@]}" xdotool
cd "$COPY"

# Builds both presets; what the compiler said is in $BUILD_LOG.
BUILD_LOG=$PLOVIX_ROOT/build/mutants/build.log
build() {
    local preset
    : >"$BUILD_LOG"
    for preset in host win64; do
        cmake --preset "$preset" >>"$BUILD_LOG" 2>&1 &&
            cmake --build --preset "$preset" >>"$BUILD_LOG" 2>&1 || return 1
    done
}

# suites_of INDEX: the suites that can see the fault, in `suites`: a fault in
# how the packages are made, only the installer's.
suites_of() {
    case ${files[$1]} in
    cmake/packaging/* | cmake/PlovixPackaging.cmake | scripts/package.sh | scripts/lib/sign.sh)
        suites=(installer) ;;
    *) suites=("${program_suites[@]}") ;;
    esac
}

escape() { sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1"; }

# run_test PRESET TEST LOG [CTEST ARGUMENTS]: runs the one test (CTest
# starts and ends its display, and makes the packages it needs), keeping
# what it printed in LOG.
run_test() {
    ctest --preset "$1" -R "^$(escape "$2")\$" --timeout "$PLOVIX_TIMEOUT_SETUP" \
        --output-on-failure "${@:4}" >"$3" 2>&1
}

# run_suite NAME: runs it (host, or win64's tests of that label), stopping at
# the first failing test; fails naming that test in $failing.
run_suite() {
    local output code=0 preset=win64 tests=(-L "^$1\$")
    [ "$1" = host ] && preset=host tests=()
    output=$(ctest --preset $preset --stop-on-failure --timeout "$PLOVIX_TIMEOUT_SETUP" \
        --output-on-failure "${tests[@]}" 2>&1) || code=$?
    printf '%s\n' "$output" >"$PLOVIX_ROOT/build/mutants/$1.log"
    # A stop at a failure may leave the display running: its end is run anew.
    if [ $preset = win64 ]; then
        ctest --preset win64 "${tests[@]}" -R ':stop$' >/dev/null 2>&1 || true
    fi
    # ctest lists a failure as "	 12 - Suite.Test (Failed)".
    failing=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*)$/\1/p' <<<"$output" | head -1)
    [ -n "$failing" ] || failing=$(tail -3 <<<"$output" | tr '\n' ' ')
    return $code
}

plovix_log "building the copy without a fault"
build
plovix_use_build build/win64
program_suites=(host)
for display in "${PLOVIX_DISPLAYS_FOR_MUTANTS[@]}"; do
    if [ "${PLOVIX_DISPLAY_ROOT[$display]}" = no ] || [ "$(id -u)" -eq 0 ]; then
        program_suites+=("$display")
    else
        plovix_log "not root: the suite of $display (Xorg) is left out"
    fi
done
# Each catcher passes without a fault, or its catch would prove nothing.
while read -r preset test; do
    [ "$preset" = build ] && continue
    listed=$(ctest --preset "$preset" -N -R "^$(escape "$test")\$")
    if ! grep -q "^ *Test *#[0-9]*: $(escape "$test")\$" <<<"$listed"; then
        plovix_log "no test of the $preset build is named $test"
        exit 1
    fi
    if ! run_test "$preset" "$test" "$PLOVIX_ROOT/build/mutants/baseline.log"; then
        plovix_log "$test fails without a fault: build/mutants/baseline.log"
        exit 1
    fi
done < <(for i in "${selected[@]}"; do echo "${catchers[$i]}"; done | sort -u)

status=0
for i in "${selected[@]}"; do
    name=${names[$i]}
    log=$PLOVIX_ROOT/build/mutants/$name.log
    read -r preset test <<<"${catchers[$i]}"
    result=
    caught=no
    if ! why=$(plant "$i"); then
        result="no longer applies: $why"
    elif ! build; then
        # A fault that a compile-time check refuses is caught by the build.
        if grep -q 'static assertion failed' "$BUILD_LOG"; then
            result="caught by the build: $(grep -m1 -o 'static assertion failed.*' "$BUILD_LOG")"
            if [ "$preset" = build ]; then caught=yes; else result+=", not by its $test"; fi
        else
            result="does not build: $(grep -m1 'error:' "$BUILD_LOG")"
        fi
    elif [ "$preset" != build ] && ! run_test "$preset" "$test" "$log"; then
        # A catch that does not repeat is a flaky test's, not the fault's.
        # The packages the first run made with the fault are used again.
        if run_test "$preset" "$test" "$log.again" -FS '^packages$'; then
            result="caught by $test in one of two runs only"
        else
            result="caught by $test"
            caught=yes
        fi
    else
        result="SURVIVED its ${test:-build}"
        suites_of "$i"
        for suite in "${suites[@]}"; do
            if ! run_suite "$suite"; then
                result="caught by another test, $failing ($suite), not by its ${test:-build}"
                break
            fi
        done
    fi
    [ $caught = yes ] || status=1
    printf '%-28s %s\n' "$name" "$result"
    unplant "$i"
done
build
exit $status

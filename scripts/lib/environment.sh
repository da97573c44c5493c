# Shared by the run and test commands: installs what the project needs and
# starts a private virtual display with a private Wine prefix. Source it from
# bash; every function logs to stderr and leaves cleanup to plovix_cleanup.

PLOVIX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Debian packages, by what they are needed for.
PLOVIX_BUILD_PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix)
# The fuzz build: clang; plovix_ensure_fuzz_packages adds libFuzzer's
# runtime with the sanitizers', which clang only recommends.
PLOVIX_FUZZ_PACKAGES=(cmake ninja-build clang)
# The second readers: clang builds the Windows programs against the mingw-w64
# packages above, clang-tidy reads every source and yamllint the forge's workflow.
PLOVIX_CHECK_PACKAGES=(clang clang-tidy yamllint)
# Wine's X11 driver quietly does without any of these X libraries that is
# missing (without XRandR no mode can be switched); Wine's packages only
# recommend them, so they are named here, for both Wine architectures.
PLOVIX_WINE_X11_LIBRARIES=(libx11-6 libxext6 libxcomposite1 libxcursor1 libxfixes3 libxi6
    libxinerama1 libxrandr2 libxrender1 libxxf86vm1 libfreetype6 libfontconfig1)
PLOVIX_WINE_PACKAGES=(wine wine64 wine32:i386 xvfb xauth fonts-wine
    "${PLOVIX_WINE_X11_LIBRARIES[@]}" "${PLOVIX_WINE_X11_LIBRARIES[@]/%/:i386}")
# A display that really changes its mode: Xorg with the dummy video driver;
# xrandr reads its outputs for the kit's test and the run command.
PLOVIX_SWITCHING_PACKAGES=(xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)
# What the package command makes, signs and reads the packages with (faketime
# stops wixl's clock at the commit's time) and draws the wizard's pictures
# with (ImageMagick); the test command makes a throwaway certificate with openssl.
PLOVIX_PACKAGING_PACKAGES=(nsis zip wixl msitools faketime git osslsigncode openssl imagemagick)
# The installer tests run with the system's /usr/bin/python3; the winget
# manifests' test reads them as YAML and checks them against winget's schemas.
PLOVIX_INSTALLER_TEST_PACKAGES=(python3 python3-yaml python3-jsonschema)
# What the run command uses to watch the virtual display and take pictures.
PLOVIX_PICTURE_PACKAGES=(imagemagick xdotool x11-apps)

plovix_log() { printf '==> %s\n' "$*" >&2; }

# Reads the displays and the timeouts of the build folder given, written
# there by CMake from cmake/PlovixDisplays.cmake and PlovixTimeouts.cmake.
plovix_use_build() {
    source "$1/displays.sh" && source "$1/timeouts.sh"
}

# plovix_poll SECONDS COMMAND...: runs the command about every 0.1 s until it
# succeeds, for at most about SECONDS; stops at once when it answers 2, what
# it waits for being unable to come.
plovix_poll() {
    local until=$((SECONDS + $1)) code
    shift
    while [ $SECONDS -le $until ]; do
        code=0
        "$@" || code=$?
        [ $code -ne 2 ] || return 1
        [ $code -ne 0 ] || return 0
        sleep 0.1
    done
    return 1
}

# The Debian releases these commands know, as code name:version; amd64 only.
PLOVIX_DEBIAN_RELEASES=(bookworm:12 trixie:13)

# "Debian 12 (bookworm)" for a code name these commands know.
plovix_release_name() {
    local entry
    for entry in "${PLOVIX_DEBIAN_RELEASES[@]}"; do
        if [ "${entry%%:*}" = "$1" ]; then
            printf 'Debian %s (%s)\n' "${entry##*:}" "$1"
            return 0
        fi
    done
    return 1
}

# This machine's Debian code name ("bookworm"), or nothing.
plovix_this_release() {
    (
        . /etc/os-release 2>/dev/null || exit 0
        [ "${ID:-}" = debian ] && printf '%s\n' "${VERSION_CODENAME:-}"
    )
}

# Stops the command, before it installs anything, on a system these commands
# do not know.
plovix_check_release() {
    local release names=() entry
    release=$(plovix_this_release)
    if [ -n "$release" ] && plovix_release_name "$release" >/dev/null &&
        [ "$(dpkg --print-architecture 2>/dev/null)" = amd64 ]; then
        return 0
    fi
    for entry in "${PLOVIX_DEBIAN_RELEASES[@]}"; do
        names+=("$(plovix_release_name "${entry%%:*}")")
    done
    local system
    system=$( (. /etc/os-release 2>/dev/null && printf '%s' "${PRETTY_NAME:-}") || true)
    plovix_log "these commands support $(printf '%s and ' "${names[@]}" | sed 's/ and $//') on" \
        "amd64; this machine runs ${system:-an unknown system} on" \
        "$(dpkg --print-architecture 2>/dev/null || uname -m)"
    exit 1
}

_plovix_missing_packages() {
    local package
    for package in "$@"; do
        dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^ii' ||
            printf '%s\n' "$package"
    done
}

# Installs whichever of the given packages are missing; a warm machine
# returns at once.
plovix_ensure_packages() {
    plovix_check_release
    local missing
    mapfile -t missing < <(_plovix_missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        plovix_log "missing packages: ${missing[*]}; run this command as root to install them"
        return 1
    fi
    local needs_i386=no package
    for package in "${missing[@]}"; do
        [[ $package == *:i386 ]] && needs_i386=yes
    done
    if [ $needs_i386 = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        plovix_log "adding the i386 architecture for 32-bit Wine"
        dpkg --add-architecture i386
    fi
    plovix_log "installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >&2
    apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
}

# For the tests, which install nothing: stops, naming whichever of the given
# packages are missing, which the test command installs.
plovix_require_packages() {
    local missing
    mapfile -t missing < <(_plovix_missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    plovix_log "missing packages: ${missing[*]}; ./scripts/test.sh installs them"
    exit 1
}

# The fuzz build's packages, with the sanitizer and libFuzzer runtime of the
# clang version that the release's clang stands for (14 on Debian 12, 19 on
# Debian 13).
plovix_ensure_fuzz_packages() {
    plovix_ensure_packages "${PLOVIX_FUZZ_PACKAGES[@]}"
    local version
    version=$(dpkg-query -W -f='${Depends}' clang | grep -o 'clang-[0-9][0-9]*' | head -1)
    if [ -z "$version" ]; then
        plovix_log "cannot tell which clang version Debian's clang package stands for"
        return 1
    fi
    plovix_ensure_packages "libclang-rt-${version#clang-}-dev"
}

# Debian's 64-bit Wine loader, outside PATH.
PLOVIX_WINE64=/usr/lib/wine/wine64

# 32-bit Wine needs a kernel that runs 32-bit Linux programs; some virtual
# machines' kernels are built without that.
# Whether 32-bit Wine starts here; when it does not, PLOVIX_WINE32_CAUSE
# says why, in words for the summary: the probe's own error, not a guess.
plovix_can_run_wine32() {
    if [ -z "${_PLOVIX_WINE32:-}" ]; then
        local loader=/usr/lib/wine/wine said code=0
        said=$("$loader" --version 2>&1) || code=$?
        _PLOVIX_WINE32=no
        if [ $code -eq 0 ]; then
            _PLOVIX_WINE32=yes
        elif [ ! -e "$loader" ]; then
            PLOVIX_WINE32_CAUSE="32-bit Wine is not installed ($loader is missing)"
        elif grep -q 'Exec format error' <<<"$said"; then
            PLOVIX_WINE32_CAUSE="this machine's kernel cannot run 32-bit programs ($loader: Exec format error)"
        else
            PLOVIX_WINE32_CAUSE="32-bit Wine does not start ($loader --version exited $code: $(tail -1 <<<"$said"))"
        fi
    fi
    [ "$_PLOVIX_WINE32" = yes ]
}

# The loader that sets up a prefix: the 32-bit one when it runs, because it
# also prepares the prefix for 32-bit programs and hands 64-bit work on.
_plovix_wine() {
    if plovix_can_run_wine32; then wine "$@"; else "$PLOVIX_WINE64" "$@"; fi
}

PLOVIX_PIDS=()
PLOVIX_WINE_PREFIXES=()

# The ids of the processes whose environment names the given Wine prefix:
# its server and the programs run in it (other prefixes may run the same
# programs).
plovix_prefix_processes() {
    local environment pid
    for environment in $(grep -lzxF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${environment#/proc/}
        echo "${pid%/environ}"
    done
    return 0
}

# Those of them that are Wine's own programs (its loaders and its server).
_plovix_wine_processes() {
    local pid
    for pid in $(plovix_prefix_processes "$1"); do
        case $(readlink "/proc/$pid/exe" 2>/dev/null) in
        */wine | */wine64 | */wine-preloader | */wine64-preloader | */wineserver*) echo "$pid" ;;
        esac
    done
    return 0
}

_plovix_prefix_ended() { [ -z "$(_plovix_wine_processes "$1")" ]; }

# Ends what the command started, by process id and by Wine prefix. A server
# that hangs may never act on its signal, and its programs then stay: what
# is left of a prefix after a short wait is killed.
plovix_cleanup() {
    local prefix pid
    for prefix in "${PLOVIX_WINE_PREFIXES[@]}"; do
        WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
    for prefix in "${PLOVIX_WINE_PREFIXES[@]}"; do
        plovix_poll "$PLOVIX_TIMEOUT_SHORT_WAIT" _plovix_prefix_ended "$prefix" || true
        for pid in $(_plovix_wine_processes "$prefix"); do
            plovix_log "killing $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null), left of $prefix"
            kill -KILL "$pid" 2>/dev/null || true
        done
    done
    for pid in "${PLOVIX_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    PLOVIX_PIDS=()
    PLOVIX_WINE_PREFIXES=()
}

# Whether the server of process $2 wrote its display's number to $1; 2 once
# it ended without.
_plovix_numbered() { [ -s "$1" ] || { kill -0 "$2" 2>/dev/null && return 1; } || return 2; }

# plovix_start_display SERVER SETTING: starts Xvfb at the size SETTING (e.g.
# 800x600), or Xorg with the dummy video driver and the configuration file
# SETTING, on a free display, and exports DISPLAY for it. Unlike Xvfb's,
# Xorg's screen really takes the modes Wine switches to; Xorg runs headless
# only as root. cmake/PlovixDisplays.cmake has the displays of the tests.
plovix_start_display() {
    local server=$1 setting=$2 number_file log
    number_file=$(mktemp)
    log=$(mktemp)
    if [ "$server" = Xvfb ]; then
        Xvfb -displayfd 3 -screen 0 "${setting}x24" -nolisten tcp -noreset 3>"$number_file" \
            >/dev/null 2>&1 &
    else
        Xorg -config "$setting" -displayfd 3 -logfile "$log" -noreset -nolisten tcp \
            -novtswitch -sharevts 3>"$number_file" >/dev/null 2>&1 &
    fi
    PLOVIX_PIDS+=($!)
    if ! plovix_poll "$PLOVIX_TIMEOUT_WAIT" _plovix_numbered "$number_file" "$!"; then
        grep -E '^\((EE|WW)\)' "$log" >&2 || true
        plovix_log "$server did not start with $setting; its log: $log"
        rm -f "$number_file"
        return 1
    fi
    export DISPLAY=":$(tr -d '\n' <"$number_file")"
    rm -f "$number_file" "$log"
    plovix_log "virtual display $DISPLAY: $server with $(basename "$setting")"
}

# Runs a set-up step quietly; when it fails, shows what it printed and
# names the step. The output goes to a file, not a pipe: Wine's services
# outlive the step and keep what they inherited open.
_plovix_step() {
    local what=$1 output
    shift
    output=$(mktemp)
    if ! "$@" >"$output" 2>&1; then
        cat "$output" >&2
        rm -f "$output"
        plovix_log "$what failed: $*"
        return 1
    fi
    rm -f "$output"
}

# Makes (once) and starts the Wine prefix in the given folder for the current
# DISPLAY, and keeps its wineserver running: a 64-bit Windows, or a 32-bit one
# when the second argument is win32. A wineserver keeps the screen size it
# first saw, so each display size needs its own prefix. A new prefix is a
# copy of one made once by wineboot (which takes half a minute, a copy a
# second); it holds no path of its own, and Wine finds the display anew.
plovix_start_wine() {
    export WINEPREFIX=$1
    export WINEARCH=${2:-win64}
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    PLOVIX_WINE_PREFIXES+=("$WINEPREFIX")
    local template=$PLOVIX_ROOT/build/wine/template-$WINEARCH
    if [ ! -f "$WINEPREFIX/.plovix-ready" ]; then
        plovix_log "creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX" && mkdir -p "${template%/*}"
        (flock 9 && { [ -f "$template/.plovix-ready" ] || WINEPREFIX=$template _plovix_make_prefix; }) \
            9>"$template.lock" || return 1
        cp -a "$template" "$WINEPREFIX"
    fi
    # Without -f the server returns only once it accepts connections, so no
    # later command can start a server of its own. It answers 2 when one
    # already runs for this prefix. plovix_cleanup ends it.
    local code=0
    wineserver -p || code=$?
    if [ $code -ne 0 ] && [ $code -ne 2 ]; then
        plovix_log "starting the Wine server failed (exit code $code)"
        return 1
    fi
    # The first program started brings up the prefix's services; do it now,
    # before tests run in parallel.
    _plovix_step "starting the Wine prefix's services" _plovix_wine cmd /c exit
}

_plovix_make_prefix() {
    # Without a window manager Wine waits about 2 s on every window it hides
    # or destroys, unless it manages the windows itself.
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX" &&
        _plovix_step "making the Wine prefix" _plovix_wine wineboot -i &&
        _plovix_step "waiting for the Wine prefix" wineserver -w &&
        _plovix_step "writing the Wine registry" _plovix_wine reg add \
            'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        _plovix_step "waiting for the Wine prefix" wineserver -w && touch "$WINEPREFIX/.plovix-ready"
}

# Makes sure that the Wine of each given preset (win32, win64) can switch the
# current display to the picture's size as the saver does, with the preset's
# desktopprobe; stops with one line naming what is missing when it cannot.
plovix_check_display_switch() {
    local preset loader architecture output missing
    for preset in "$@"; do
        if [ "$preset" = win32 ]; then
            loader=wine
            architecture=i386
        else
            loader=$PLOVIX_WINE64
            architecture=amd64
        fi
        if output=$("$loader" "$PLOVIX_ROOT/build/$preset/desktopprobe.exe" switch 2>&1 |
            tr -d '\r'); then
            continue
        fi
        mapfile -t missing < <(_plovix_missing_packages \
            "${PLOVIX_WINE_X11_LIBRARIES[@]/%/:$architecture}")
        if [ ${#missing[@]} -gt 0 ]; then
            plovix_log "$preset: Wine cannot switch $DISPLAY ($output); missing: ${missing[*]}"
        else
            plovix_log "$preset: Wine cannot switch $DISPLAY ($output) although its" \
                "X libraries are installed; WINEDEBUG=+xrandr shows why"
        fi
        return 1
    done
}

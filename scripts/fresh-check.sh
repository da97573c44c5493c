#!/usr/bin/env bash
# The fresh-machine check: ./scripts/fresh-check.sh [--suite bookworm|trixie | --all]
#
# Proves the README's two commands on a brand-new Debian 12 or 13 (the
# release of this machine unless told; --all checks each in turn). Builds a
# throwaway minbase root with debootstrap, gives it the Debian archive and
# security sources of the release it checks, from the mirrors and with the
# apt settings this machine uses, clones the committed HEAD into it and runs
# ./scripts/test.sh, then ./scripts/run.sh without a display, as a new user
# would. Checks that the screenshot shows the saver's picture, prints both
# results and the time taken, and removes the root on every way out. Too
# slow for CI; run it as root whenever set-up changes. Logs stay in
# build/fresh-check/<release>/.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

usage() {
    echo "usage: $0 [--suite RELEASE | --all]; RELEASE is one of:" \
        "${PLOVIX_DEBIAN_RELEASES[*]%%:*}" >&2
    exit 2
}

suites=()
case "${1:-}" in
"") suites=("$(plovix_this_release)") ;;
--suite)
    [ $# -eq 2 ] && plovix_release_name "$2" >/dev/null || usage
    suites=("$2")
    ;;
--all)
    [ $# -eq 1 ] || usage
    for entry in "${PLOVIX_DEBIAN_RELEASES[@]}"; do
        suites+=("${entry%%:*}")
    done
    ;;
*) usage ;;
esac

if [ "$(id -u)" -ne 0 ]; then
    plovix_log "the fresh-machine check builds a root file system: run it as root"
    exit 1
fi
plovix_ensure_packages debootstrap git imagemagick

commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain)" ]; then
    plovix_log "checking the committed $commit; uncommitted changes are not part of the check"
fi
# The mirrors of the Debian archive and of its security updates that apt on
# this machine uses; the root gets the same for its own release.
this_release=$(plovix_this_release)
sources=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' | sort -u)
mirror=$(sed -n "s/^\([^ ]*\) $this_release\$/\1/p" <<<"$sources" | head -1)
security=$(sed -n "s/^\([^ ]*\) $this_release-security\$/\1/p" <<<"$sources" | head -1)
if [ -z "$mirror" ]; then
    plovix_log "apt on this machine has no source for Debian $this_release"
    exit 1
fi
security=${security:-http://deb.debian.org/debian-security/}

# Processes whose root is the throwaway root, such as a wineserver or an Xvfb
# that outlived the commands.
_processes_inside() {
    local link pid
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/}
        pid=${pid%/root}
        [ "$(readlink "$link" 2>/dev/null)" = "$ROOTFS" ] && printf '%s\n' "$pid"
    done
    return 0
}

_mounts_inside() {
    awk -v root="$ROOTFS" 'index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

cleanup() {
    trap - EXIT INT TERM HUP
    local pids mounts
    mapfile -t pids < <(_processes_inside)
    [ ${#pids[@]} -gt 0 ] && kill -KILL "${pids[@]}" 2>/dev/null
    mapfile -t mounts < <(_mounts_inside)
    local mount
    for mount in "${mounts[@]}"; do
        umount "$mount" 2>/dev/null || umount -l "$mount"
    done
    if [ -n "$(_mounts_inside)" ]; then
        plovix_log "left $ROOTFS in place: something is still mounted inside it"
        return 1
    fi
    rm -rf --one-file-system "$ROOTFS"
}

elapsed() {
    local seconds=$(($(date +%s) - $1))
    printf '%d min %02d s' $((seconds / 60)) $((seconds % 60))
}

# Runs a command in the project's folder inside the root, with nothing of
# this machine's environment. It runs in the background and is waited for,
# so that Ctrl-C reaches the cleanup at once instead of after, say, an apt-get
# that ignores it; the cleanup ends whatever still runs inside.
inside() {
    chroot "$ROOTFS" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c 'cd /root/plovix && "$@"' bash "$@" &
    wait $!
}

# Checks one release in a root of its own, removed on every way out; run it
# in a subshell. Prints both results and the time taken, and fails if either
# command failed.
check_release() {
    local suite=$1 started
    started=$(date +%s)
    LOGS=$PLOVIX_ROOT/build/fresh-check/$suite
    mkdir -p "$LOGS"
    ROOTFS=$(mktemp -d /var/tmp/plovix-fresh.XXXXXX)
    chmod 755 "$ROOTFS"
    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP

    plovix_log "building a $(plovix_release_name "$suite") minbase root in $ROOTFS from $mirror"
    if ! debootstrap --variant=minbase "$suite" "$ROOTFS" "$mirror" >"$LOGS/debootstrap.log" 2>&1
    then
        plovix_log "debootstrap failed; see $LOGS/debootstrap.log"
        exit 1
    fi
    # The release's own archive and security sources, with this machine's
    # apt settings.
    rm -f "$ROOTFS/etc/apt/sources.list" "$ROOTFS"/etc/apt/sources.list.d/*
    cat >"$ROOTFS/etc/apt/sources.list.d/debian.sources" <<SOURCES
Types: deb
URIs: $mirror
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: $security
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    cp -a /etc/apt/apt.conf.d/. "$ROOTFS/etc/apt/apt.conf.d/"
    cp /etc/resolv.conf "$ROOTFS/etc/resolv.conf"

    mount -t proc proc "$ROOTFS/proc"
    mount -t sysfs sysfs "$ROOTFS/sys"
    mount --rbind /dev "$ROOTFS/dev"
    mount --make-rslave "$ROOTFS/dev"
    mount -t tmpfs tmpfs "$ROOTFS/tmp"

    git clone -q --no-hardlinks "$PLOVIX_ROOT" "$ROOTFS/root/plovix"
    git -C "$ROOTFS/root/plovix" checkout -q "$commit"

    plovix_log "running ./scripts/test.sh inside (log: $LOGS/test.log)"
    local test_result=passed test_started
    test_started=$(date +%s)
    inside ./scripts/test.sh >"$LOGS/test.log" 2>&1 || test_result="FAILED (exit code $?)"
    # The test command's own time, as a new machine's user waits for it;
    # making the root counts in "time taken" below.
    plovix_log "test command: $test_result in $(elapsed "$test_started")"
    grep -E '^(Total|[a-z0-9@x-]+:) ' "$LOGS/test.log" >&2 || true

    plovix_log "running ./scripts/run.sh inside (log: $LOGS/run.log)"
    local run_result=passed
    inside ./scripts/run.sh >"$LOGS/run.log" 2>&1 || run_result="FAILED (exit code $?)"
    local screenshot=$ROOTFS/root/plovix/out/screenshot.png
    # The run command checked the picture's colours itself.
    if [ "$run_result" = passed ] && [ ! -f "$screenshot" ]; then
        run_result="FAILED (no out/screenshot.png)"
    fi
    [ -f "$screenshot" ] && cp "$screenshot" "$LOGS/screenshot.png"

    echo "fresh-check of $commit on $(plovix_release_name "$suite") (minbase):"
    echo "  ./scripts/test.sh: $test_result"
    echo "  ./scripts/run.sh:  $run_result"
    echo "  time taken: $(elapsed "$started")"
    [ "$test_result" = passed ] && [ "$run_result" = passed ]
}

# Each release in a subshell of its own, which stops at its first failing
# step (a subshell tested with || would not) and cleans up its root.
status=0
for suite in "${suites[@]}"; do
    set +e
    (
        set -e
        check_release "$suite"
    )
    [ $? -eq 0 ] || status=1
    set -e
done
exit $status

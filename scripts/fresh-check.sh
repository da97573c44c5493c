#!/usr/bin/env bash
# The fresh-machine check: ./scripts/fresh-check.sh
#
# Proves the README's two commands on a brand-new Debian 12. Builds a
# throwaway minbase root with debootstrap from the Debian source apt already
# uses, clones the committed HEAD into it and runs ./scripts/test.sh, then
# ./scripts/run.sh without a display, as a new user would. Checks that the
# screenshot shows the saver's picture, prints both results and the time
# taken, and removes the root on every way out. Too slow for CI; run it as
# root whenever set-up changes. Logs stay in build/fresh-check/.
set -euo pipefail

source "$(dirname "$0")/lib/environment.sh"
cd "$PLOVIX_ROOT"

if [ "$(id -u)" -ne 0 ]; then
    plovix_log "the fresh-machine check builds a root file system: run it as root"
    exit 1
fi
plovix_ensure_packages debootstrap git imagemagick

SUITE=bookworm
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain)" ]; then
    plovix_log "checking the committed $commit; uncommitted changes are not part of the check"
fi
# The Debian archive and the apt settings this machine's apt uses.
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
    sed -n "s/^\([^ ]*\) $SUITE\$/\1/p" | head -1)
if [ -z "$mirror" ]; then
    plovix_log "apt on this machine has no source for Debian $SUITE"
    exit 1
fi

LOGS=$PLOVIX_ROOT/build/fresh-check
mkdir -p "$LOGS"
ROOTFS=$(mktemp -d /var/tmp/plovix-fresh.XXXXXX)
chmod 755 "$ROOTFS"

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
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

started=$(date +%s)
elapsed() {
    local seconds=$(($(date +%s) - started))
    printf '%d min %02d s' $((seconds / 60)) $((seconds % 60))
}

plovix_log "building a Debian $SUITE minbase root in $ROOTFS from $mirror"
if ! debootstrap --variant=minbase "$SUITE" "$ROOTFS" "$mirror" >"$LOGS/debootstrap.log" 2>&1; then
    plovix_log "debootstrap failed; see $LOGS/debootstrap.log"
    exit 1
fi
# The new machine gets this machine's package sources and apt settings.
rm -f "$ROOTFS/etc/apt/sources.list"
cp -a /etc/apt/sources.list.d/. "$ROOTFS/etc/apt/sources.list.d/"
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$ROOTFS/etc/apt/"
cp -a /etc/apt/apt.conf.d/. "$ROOTFS/etc/apt/apt.conf.d/"
cp /etc/resolv.conf "$ROOTFS/etc/resolv.conf"

mount -t proc proc "$ROOTFS/proc"
mount -t sysfs sysfs "$ROOTFS/sys"
mount --rbind /dev "$ROOTFS/dev"
mount --make-rslave "$ROOTFS/dev"
mount -t tmpfs tmpfs "$ROOTFS/tmp"

git clone -q --no-hardlinks "$PLOVIX_ROOT" "$ROOTFS/root/plovix"
git -C "$ROOTFS/root/plovix" checkout -q "$commit"

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

plovix_log "running ./scripts/test.sh inside (log: $LOGS/test.log)"
test_result=passed
inside ./scripts/test.sh >"$LOGS/test.log" 2>&1 || test_result="FAILED (exit code $?)"
plovix_log "test command: $test_result after $(elapsed)"
grep -E '^(Total|[a-z0-9@x-]+:) ' "$LOGS/test.log" >&2 || true

plovix_log "running ./scripts/run.sh inside (log: $LOGS/run.log)"
run_result=passed
inside ./scripts/run.sh >"$LOGS/run.log" 2>&1 || run_result="FAILED (exit code $?)"
screenshot=$ROOTFS/root/plovix/out/screenshot.png
if [ "$run_result" = passed ]; then
    if [ ! -f "$screenshot" ]; then
        run_result="FAILED (no out/screenshot.png)"
    elif ! plovix_shows_saver_picture "$screenshot"; then
        run_result="FAILED (out/screenshot.png is not the saver's picture)"
    fi
fi
[ -f "$screenshot" ] && cp "$screenshot" "$LOGS/screenshot.png"

echo "fresh-check of $commit on Debian $SUITE (minbase):"
echo "  ./scripts/test.sh: $test_result"
echo "  ./scripts/run.sh:  $run_result"
echo "  time taken: $(elapsed)"
[ "$test_result" = passed ] && [ "$run_result" = passed ]

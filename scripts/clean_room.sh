#!/usr/bin/env bash
# scripts/clean_room.sh RELEASE [COMMAND...] (RELEASE bookworm or trixie): the
# README's two commands on a bare system of that Debian release, as a new user
# runs them. Makes a minimal system with debootstrap, from the mirror this
# machine's apt uses, clones the repository's committed state into it, and runs
# each COMMAND (default: scripts/demo.sh, then scripts/test.sh; for example
# scripts/build.sh alone, to see that release's compiler build every target)
# as root in a chroot, printing each one's time and result. The system is made
# anew in CLEAN_ROOM_DIR/RELEASE (default /var/tmp/clean_room) and kept
# afterwards, with each command's log beside it.
# Needs root; installs debootstrap if it is missing.
set -euo pipefail
release=${1:-}
case $release in
bookworm | trixie) ;;
*) echo "usage: scripts/clean_room.sh bookworm|trixie [COMMAND...]" >&2; exit 2 ;;
esac
commands=("${@:2}")
[ ${#commands[@]} -gt 0 ] || commands=(scripts/demo.sh scripts/test.sh)
[ "$(id -u)" -eq 0 ] || { echo "clean_room: run it as root: debootstrap and chroot need it" >&2; exit 1; }
repo=$(cd "$(dirname "$0")/.." && pwd)
# The mounts are made in a mount namespace of this script's own, so that none
# of them can reach the machine's own /dev or /sys, whatever its propagation.
if [ -z "${CLEAN_ROOM_NAMESPACE:-}" ]; then
    CLEAN_ROOM_NAMESPACE=yes exec unshare --mount --propagation private "$0" "$@"
fi

work=$(realpath -m "${CLEAN_ROOM_DIR:-/var/tmp/clean_room}")
root=$work/$release
source "$repo/scripts/apt_sources.sh"
host_release=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(apt_source_of "$host_release")
[ -n "$mirror" ] || { echo "clean_room: apt has no source for Debian $host_release to take a mirror from" >&2; exit 1; }

# The machine's interpreter registrations (binfmt_misc), one table for the
# whole machine, chroots included: the set-up inside must leave them as they
# are (scripts/setup.sh says why), and the room checks that it did. Seen here
# through a mount of this script's own namespace where the machine has none.
binfmt=/proc/sys/fs/binfmt_misc
[ -f $binfmt/status ] || mount -t binfmt_misc binfmt_misc $binfmt
# interpreters: every entry's name and contents.
interpreters() {
    local entry
    for entry in "$binfmt"/*; do
        [ "${entry##*/}" = register ] || { echo "[${entry##*/}]"; cat "$entry"; }
    done
}
interpreters_before=$(interpreters)

mounts=()
# Ends what still runs in the system (Wine's server outlives its programs),
# then undoes the mounts, the last one first, and checks the registrations.
leave_room() {
    local link pid i
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/} pid=${pid%/root}
        [ "$(readlink "$link" 2>/dev/null)" != "$root" ] || kill -9 "$pid" 2>/dev/null || true
    done
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" || umount --lazy "${mounts[i]}"
    done
    mounts=()
    if [ "$(interpreters)" = "$interpreters_before" ]; then
        echo "interpreter registrations ($binfmt): as they were"
    else
        echo "clean_room: the machine's interpreter registrations changed:" >&2
        diff <(echo "$interpreters_before") <(interpreters) >&2 || true
        exit 1
    fi
}
trap leave_room EXIT
trap 'exit 130' INT TERM HUP
# mount_in TARGET MOUNT-ARGUMENTS...
mount_in() {
    mount "${@:2}" "$root$1"
    mounts+=("$root$1")
}

command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
if grep -q " $root/" /proc/mounts; then
    echo "clean_room: something is still mounted under $root; unmount it first" >&2
    exit 1
fi
rm -rf --one-file-system "$root"
mkdir -p "$work"
log=$work/$release.debootstrap.log
echo "debootstrap $release from $mirror into $root (log: $log)"
start=$SECONDS
debootstrap --variant=minbase "$release" "$root" "$mirror" >"$log" 2>&1 ||
    { tail -5 "$log" >&2; echo "clean_room: debootstrap failed" >&2; exit 1; }
echo "minimal $release system made in $((SECONDS - start)) s"

# Its sources as an installed system has them: the release, its updates and its
# security suite, each from the mirror, key and components this machine uses.
rm -f "$root/etc/apt/sources.list"
for suites in "$host_release $release" "$host_release $release-updates" "$host_release-security $release-security"; do
    read -r from to <<<"$suites"
    entry=$(apt_derived_entry "$from" "$to") || continue
    tail -n +2 <<<"$entry" >"$root$(head -1 <<<"$entry")"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

commit=$(git -C "$repo" rev-parse HEAD)
git clone --quiet --no-checkout "$repo" "$root/root/panel_dimmer"
git -C "$root/root/panel_dimmer" checkout --quiet "$commit"
echo "cloned $commit"

mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
mount_in /dev --bind /dev
mount_in /dev/pts --bind /dev/pts
mount_in /dev/shm -t tmpfs tmpfs
mount_in /tmp -t tmpfs tmpfs

# run COMMAND N: the command in the repository's folder, as root logs in on a
# new system; prints its time and result. Its log is named by N and the
# command's program: trixie.2.test.log.
failed=0
run() {
    local program=${1%% *}
    local log=$work/$release.$2.$(basename "$program" .sh).log status=0
    echo "$1: running (log: $log)"
    start=$SECONDS
    # In the background: a signal to this script alone then ends the wait at once.
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/panel_dimmer && $1" >"$log" 2>&1 &
    wait $! || status=$?
    local took=$((SECONDS - start))
    if [ $status -eq 0 ]; then
        echo "$1 on $release: passed in $((took / 60)) min $((took % 60)) s"
    else
        tail -15 "$log"
        echo "$1 on $release: FAILED (exit $status) after $((took / 60)) min $((took % 60)) s"
        failed=1
    fi
}
for n in "${!commands[@]}"; do
    run "${commands[n]}" $((n + 1))
    [ "${commands[n]%% *}" != scripts/test.sh ] ||
        grep -h "tests passed\|Total Test time" "$work/$release.$((n + 1)).test.log" || true
done
exit $failed

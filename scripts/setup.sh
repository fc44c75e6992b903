#!/usr/bin/env bash
# Installs what building and running the gauge needs on Debian 12 or 13:
# the MinGW-w64 cross compiler, CMake, Wine (32-bit), Xvfb with X input and
# screenshot tools, GoogleTest's sources and stb; clang, the second compiler,
# and the analyzers clang-tidy and cppcheck; and any packages named on its
# command line (scripts/coverage.sh adds gcovr). Safe to run again: it
# installs only what is missing.
set -euo pipefail

# wine64 brings the 64-bit server and services; the preloader lets the 32-bit
# loader set up its address space in a few calls instead of thousands of probes.
packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake ninja-build python3
          wine wine32:i386 wine64 wine32-preloader:i386 xvfb xauth xdotool x11-apps
          googletest libstb-dev clang clang-tidy cppcheck)
# scripts/setup.sh --list-packages: the list, and nothing done.
[ "${1:-}" = --list-packages ] && { echo "${packages[*]}"; exit 0; }
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_sudo=$sudo
source "$(dirname "$0")/apt_sources.sh"
source "$(dirname "$0")/apt_install.sh"

# Everything comes from the Debian mirror this machine's apt already uses.
require_debian_source() {
    [ -z "$(apt_source_of "$apt_release")" ] || return 0
    echo "setup: apt has no source for Debian $apt_release; add your mirror to /etc/apt/sources.list.d/ and run this again" >&2
    exit 1
}

# Some kernels boot with 32-bit execution switched off (dmesg: "32-bit emulation
# disabled"). The 32-bit Wine loader then runs through qemu's user-mode emulator,
# registered as the interpreter of i386 programs. It must be qemu 10 or later:
# under Debian 12's own qemu 7.2, Wine's sound threads crash the process now and
# then. Debian 12 has it in its backports suite, Debian 13 in the release itself.
qemu_major() {
    local major
    major=$(qemu-i386-static --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
    echo "${major:-0}"
}
# The newest major version of qemu in the release's own suite, 0 if apt knows none.
release_qemu_major() {
    { apt-cache madison qemu-user-static 2>/dev/null || true; } | awk -F' [|] ' -v suite="$apt_release" \
        '$3 ~ " " suite "/" { sub(/^[0-9]+:/, "", $2); if ($2 + 0 > major) major = $2 + 0 } END { print int(major) }'
}
# Adds the release's backports suite, with the address, signing key and
# components of the release's own entry, unless apt already fetches it.
add_backports() {
    local entry
    [ -z "$(apt_source_of "$apt_release-backports")" ] || return 0
    entry=$(apt_derived_entry "$apt_release" "$apt_release-backports")
    tail -n +2 <<<"$entry" | $sudo tee "$(head -1 <<<"$entry")" >/dev/null
}
# binfmt_misc is one table for the whole machine, chroots included. The set-up
# registers in it only where the table is mounted, as systemd mounts it on a
# machine of its own; a chroot without it (scripts/clean_room.sh makes one)
# runs i386 programs through the outer machine's registration, which is that
# machine's to make: the set-up there leaves it as it is.
binfmt=/proc/sys/fs/binfmt_misc
run_i386_through_qemu() {
    if [ ! -f $binfmt/register ]; then
        echo "setup: i386 programs need qemu's emulator here, and the machine's table of interpreters" \
             "is not mounted: mount it (mount -t binfmt_misc binfmt_misc $binfmt), or, in a chroot," \
             "run scripts/setup.sh outside it first" >&2
        exit 1
    fi
    if [ "$(qemu_major)" -lt 10 ]; then
        require_debian_source
        [ "$(release_qemu_major)" -gt 0 ] || apt_update
        local from=()
        if [ "$(release_qemu_major)" -lt 10 ]; then
            add_backports
            apt_update
            from=(-t "$apt_release-backports")
        fi
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
            "${from[@]}" qemu-user-static
    fi
    # The registration holds the interpreter it was made with open ("F"):
    # make it anew so that it is the one installed now.
    [ -f $binfmt/qemu-i386 ] && echo -1 | $sudo tee $binfmt/qemu-i386 >/dev/null
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:FOC' |
        $sudo tee $binfmt/register >/dev/null
}
# Once registered, every i386 program runs through qemu, so a registration
# found means this machine needs it.
needs_qemu() { [ -f $binfmt/qemu-i386 ] || ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

if [ ${#missing[@]} -eq 0 ]; then
    if needs_qemu && { [ "$(qemu_major)" -lt 10 ] || [ ! -f $binfmt/qemu-i386 ]; }; then
        run_i386_through_qemu
    fi
    exit 0
fi
require_debian_source
echo "Installing: ${missing[*]}"
$sudo dpkg --add-architecture i386
apt_update
apt_install_packages "${missing[@]}"
if needs_qemu; then run_i386_through_qemu; fi

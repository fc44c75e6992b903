#!/usr/bin/env bash
# Installs what building and running the gauge needs on a Debian 12 machine:
# the MinGW-w64 cross compiler, CMake, Wine (32-bit), Xvfb, GoogleTest's
# sources and stb. Safe to run again: it installs only what is missing.
set -euo pipefail

# wine64 brings the 64-bit server and services; the preloader lets the 32-bit
# loader set up its address space in a few calls instead of thousands of probes.
packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake ninja-build python3
          wine wine32:i386 wine64 wine32-preloader:i386 xvfb xauth googletest libstb-dev)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# Some kernels boot with 32-bit execution switched off (dmesg: "32-bit emulation
# disabled"). The 32-bit Wine loader then runs through qemu's user-mode emulator,
# registered as the interpreter of i386 programs.
run_i386_through_qemu() {
    [ -x /usr/bin/qemu-i386-static ] ||
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends qemu-user-static
    local binfmt=/proc/sys/fs/binfmt_misc
    [ -f $binfmt/register ] || $sudo mount -t binfmt_misc binfmt_misc $binfmt
    [ -f $binfmt/qemu-i386 ] || printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:FOC' |
        $sudo tee $binfmt/register >/dev/null
}

if [ ${#missing[@]} -eq 0 ]; then
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 || run_i386_through_qemu
    exit 0
fi
echo "Installing: ${missing[*]}"
$sudo dpkg --add-architecture i386
# A mirror caught mid-sync fails one index now and then: try again, and go on
# with what was fetched if it still fails (the install below says if it lacks anything).
for attempt in 1 2 3; do
    $sudo apt-get update -q && break
    echo "apt-get update failed (attempt $attempt); retrying in 10 s"
    sleep 10
done
install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; }
install || { sleep 10; $sudo apt-get update -q || true; install; }
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || run_i386_through_qemu

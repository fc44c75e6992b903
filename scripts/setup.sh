#!/usr/bin/env bash
# Installs what building and running the gauge needs on a Debian 12 machine:
# the MinGW-w64 cross compiler, CMake, Wine (32-bit), Xvfb, GoogleTest's
# sources and stb. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake ninja-build python3
          wine wine32:i386 xvfb xauth googletest libstb-dev)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Builds everything, then runs one of the built Windows programs under Wine on
# the virtual display, with one Wine server for the whole run:
# scripts/run_program.sh PROGRAM.exe [arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
# These programs play through the real sound device but listen to nothing:
# unless CLICK_CAPTURE names a file, the sound goes nowhere (a long benchmark
# would otherwise fill the capture file up to its 2 GiB limit).
CLICK_CAPTURE="${CLICK_CAPTURE:-/dev/null}"
source scripts/wine_env.sh
on_display wine "$@"

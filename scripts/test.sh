#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine and Xvfb
# (PRESET=clang: the clang build's, in build-clang/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
source scripts/preset.sh
BUILD_DIR="$PWD/$build_dir"
source scripts/wine_env.sh
# One Wine server for the whole run instead of one per test, started on the
# virtual display so that every window the tests make has a screen.
# The first program of a server's life starts Wine's own services, which keep
# its standard output: start them from a program whose output goes nowhere, or
# ctest, reading a test's output to its end, waits on them until its time-out.
xvfb-run -a bash -c 'wineserver -p && wine cmd /c exit >/dev/null 2>&1 </dev/null
                     ctest --preset '"$preset"'; status=$?; wineserver -k; exit $status'

#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
# One Wine server for the whole run instead of one per test, started on the
# virtual display so that every window the tests make has a screen.
xvfb-run -a bash -c 'wineserver -p && ctest --preset mingw -j2; status=$?; wineserver -k; exit $status'

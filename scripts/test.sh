#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
wineserver -p   # one server for the whole run instead of one per test
trap 'wineserver -k || true' EXIT
xvfb-run -a ctest --preset mingw -j2

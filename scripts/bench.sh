#!/usr/bin/env bash
# Builds everything and prints the benchmark table (click, frame, growth and
# footprint figures) of the built gauge, on Wine's real DirectSound.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
# One Wine server on the virtual display for the whole run.
xvfb-run -a bash -c 'wineserver -p && wine build/bench/dimmer_bench.exe "$@"; status=$?; wineserver -k; exit $status' bench "$@"

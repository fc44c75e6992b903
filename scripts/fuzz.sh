#!/usr/bin/env bash
# Builds everything and runs the fuzzer: scripts/fuzz.sh [cases] [seed]
# (default 20,000 cases), or scripts/fuzz.sh --replay SEED for one failing
# case.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
[ $# -gt 0 ] || set -- 20000
# One Wine server on the virtual display for the whole run.
xvfb-run -a bash -c 'wineserver -p && wine build/fuzz/dimmer_fuzz.exe "$@"; status=$?; wineserver -k; exit $status' fuzz "$@"

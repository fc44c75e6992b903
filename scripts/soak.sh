#!/usr/bin/env bash
# Builds everything and runs the soak: scripts/soak.sh [clicks] [reinits]
# [seed], by default 10,000 clicks and 100 re-initializations on Wine's real
# DirectSound.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
# One Wine server on the virtual display for the whole run.
xvfb-run -a bash -c 'wineserver -p && wine build/soak/dimmer_soak.exe "$@"; status=$?; wineserver -k; exit $status' soak "$@"

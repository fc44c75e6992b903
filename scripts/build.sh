#!/usr/bin/env bash
# Configures and builds into build/: everything, or only the targets named
# (scripts/build.sh panel_dimmer standin).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake --preset mingw
cmake --build build ${1:+--target "$@"}

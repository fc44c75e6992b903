#!/usr/bin/env bash
# Configures and builds into build/: everything, or only the targets named
# (scripts/build.sh panel_dimmer standin). With PRESET=clang, with clang into
# build-clang/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/preset.sh
[ -f $build_dir/CMakeCache.txt ] || cmake --preset $preset
cmake --build $build_dir ${1:+--target "$@"}

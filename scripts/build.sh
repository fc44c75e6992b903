#!/usr/bin/env bash
# Configures and builds everything into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake --preset mingw
cmake --build build

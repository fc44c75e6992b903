#!/usr/bin/env bash
# Builds everything and runs the test suite under Wine and Xvfb:
#   scripts/test.sh [--repeat N] [-R REGEX]
# every test, or those whose names match REGEX; with --repeat, each test runs
# N times, up to its first failure, to show that it passes every time and not
# by a lucky timing.
set -euo pipefail
cd "$(dirname "$0")/.."
usage() { echo "usage: scripts/test.sh [--repeat N] [-R REGEX]" >&2; exit 2; }
ctest_options=()
while [ $# -gt 0 ]; do
    case $1 in
    --repeat) [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || usage; ctest_options+=(--repeat "until-fail:$2") ;;
    -R) [ -n "${2:-}" ] || usage; ctest_options+=(-R "$2") ;;
    *) usage ;;
    esac
    shift 2
done
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
on_display ctest --preset mingw ${ctest_options[@]+"${ctest_options[@]}"}

#!/usr/bin/env bash
# Builds everything and runs the fuzzer: scripts/fuzz.sh [--no-page-heap]
# [--real-sound] [cases] [seed] (default 20,000 cases on the fake device,
# 2,000 on the real one), or scripts/fuzz.sh [--real-sound] --replay SEED for
# one failing case. The module's blocks come from the page heap unless
# --no-page-heap.
set -euo pipefail
options=()
while [ $# -gt 0 ] && [[ $1 == --no-page-heap || $1 == --real-sound ]]; do
    options+=("$1")
    shift
done
[ $# -gt 0 ] || [[ " ${options[*]-} " == *" --real-sound "* ]] || set -- 20000
exec "$(dirname "$0")/run_program.sh" build/fuzz/dimmer_fuzz.exe ${options[@]+"${options[@]}"} "$@"

#!/usr/bin/env bash
# Builds everything and prints the benchmark table (click, frame, growth,
# memory and footprint figures) of the built gauge, on Wine's real DirectSound.
set -euo pipefail
exec "$(dirname "$0")/run_program.sh" build/bench/dimmer_bench.exe "$@"

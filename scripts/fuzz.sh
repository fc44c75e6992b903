#!/usr/bin/env bash
# Builds everything and runs the fuzzer: scripts/fuzz.sh [cases] [seed]
# (default 20,000 cases), or scripts/fuzz.sh --replay SEED for one failing
# case.
set -euo pipefail
[ $# -gt 0 ] || set -- 20000
exec "$(dirname "$0")/run_program.sh" build/fuzz/dimmer_fuzz.exe "$@"

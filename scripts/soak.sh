#!/usr/bin/env bash
# Builds everything and runs the soak: scripts/soak.sh [--no-page-heap]
# [clicks] [reinits] [seed], by default 10,000 clicks and 100
# re-initializations on Wine's real DirectSound, the module's blocks from the
# page heap (its guard pages after the blocks for an even seed, before them
# for an odd one) unless --no-page-heap.
set -euo pipefail
exec "$(dirname "$0")/run_program.sh" build/soak/dimmer_soak.exe "$@"

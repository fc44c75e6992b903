#!/usr/bin/env bash
# Builds everything and runs the soak: scripts/soak.sh [clicks] [reinits]
# [seed], by default 10,000 clicks and 100 re-initializations on Wine's real
# DirectSound.
set -euo pipefail
exec "$(dirname "$0")/run_program.sh" build/soak/dimmer_soak.exe "$@"

#!/usr/bin/env bash
# Builds the gauge and runs it in the stand-in host: it clicks through all
# seven detents with the panel lights on, then off, and writes the pictures,
# the log of every host call and the captured click sound to build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
mkdir -p build/demo
CLICK_CAPTURE="$BUILD_DIR/demo/clicks.wav"
rm -f "$CLICK_CAPTURE"
source scripts/wine_env.sh
xvfb-run -a wine build/standin/standin.exe --gau build/panel_dimmer.gau --tour \
    --png build/demo/dimmer.png --scale 8 --log build/demo/dimmer.log
echo
echo "Pictures: build/demo/dimmer.png  Log: build/demo/dimmer.log  Sound: build/demo/clicks.wav"

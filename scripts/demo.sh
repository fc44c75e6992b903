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
sound=()
if [ -n "$i386_emulated" ]; then
    echo "32-bit code runs through qemu here: the tour runs without the sound device (no FS98MAIN window)"
    sound=(--no-window)
fi
xvfb-run -a wine build/standin/standin.exe --gau build/panel_dimmer.gau --tour "${sound[@]}" \
    --png build/demo/dimmer.png --scale 8 --log build/demo/dimmer.log
echo
outputs="Pictures: build/demo/dimmer.png  Log: build/demo/dimmer.log"
[ -n "$i386_emulated" ] || outputs+="  Sound: build/demo/clicks.wav"
echo "$outputs"

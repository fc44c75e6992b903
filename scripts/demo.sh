#!/usr/bin/env bash
# Builds the gauge and runs it in the stand-in host: it clicks through all
# seven detents with the panel lights on, then off, and writes the pictures,
# the log of every host call and the captured click sound to build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_DIR="$PWD/build"
mkdir -p build/demo
# A new Wine prefix takes a while to make: make it while the build runs.
(source scripts/wine_env.sh) &
prefix=$!
# Only what the demo runs: the gauge with its bitmaps, the click and the stand-in.
scripts/build.sh panel_dimmer standin
wait $prefix
# The tour opens the sound device once a pass: keep each pass's capture.
CLICK_CAPTURE="$BUILD_DIR/demo/clicks.wav"
CLICK_CAPTURE_KEEP=yes
rm -f "$CLICK_CAPTURE"* build/demo/clicks-*.wav
source scripts/wine_env.sh
on_display wine build/standin/standin.exe --gau build/panel_dimmer.gau --tour \
    --png build/demo/dimmer.png --scale 8 --log build/demo/dimmer.log
echo
echo "Pictures: build/demo/dimmer.png  Log: build/demo/dimmer.log"
# keep_sound CAPTURE PASS: the pass's capture under its own name, or why there is none.
keep_sound() {
    if [ -s "$1" ]; then
        mv "$1" "build/demo/clicks-$2.wav"
        echo "Sound: build/demo/clicks-$2.wav"
    else
        echo "No sound was captured in the $2 pass: the gauge's sound device did not open or" \
             "played nothing; the \"sound:\" lines of build/demo/dimmer.log say which." >&2
        return 1
    fi
}
heard=yes
keep_sound "$CLICK_CAPTURE" lights-on || heard=no
keep_sound "$CLICK_CAPTURE.0001" lights-off || heard=no
[ $heard = yes ]

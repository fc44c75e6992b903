#!/usr/bin/env bash
# Builds the gauge and opens it in the stand-in host's window, under Wine on
# this desktop: click the marks, L switches the panel lights, Esc quits.
#   scripts/play.sh [--scale N] [--lights on|off|NUMBER] [standin options...]
# The click plays on the sound card; with CLICK_CAPTURE=FILE set it is
# written to FILE instead. Without a desktop: xvfb-run -a scripts/play.sh
set -euo pipefail
cd "$(dirname "$0")/.."
[ -n "${DISPLAY:-}" ] || { echo "play: no X display; run it on a desktop, or under xvfb-run -a" >&2; exit 2; }
scripts/build.sh panel_dimmer standin
BUILD_DIR="$PWD/build"
to_sound_card=yes
[ -n "${CLICK_CAPTURE:-}" ] && to_sound_card=no
source scripts/wine_env.sh
if [ $to_sound_card = yes ]; then
    # The user's own sound set-up instead of the capture file.
    unset XDG_CONFIG_HOME
    export WINEDLLOVERRIDES="mscoree,mshtml="
fi
status=0
wine build/standin/standin.exe --gau build/panel_dimmer.gau --window "$@" || status=$?
# Wine's server and services outlive the program by a few seconds: wait for
# them, so that under xvfb-run they end before the display does.
wineserver -w
exit $status

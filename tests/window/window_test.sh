#!/usr/bin/env bash
# The gauge in standin.exe's window, clicked with real X events on the
# display of the test run: each mark turns the knob there (log, status line,
# key event, a clip on the sound device) and the screen shows the stand-in's
# own picture of that detent pixel for pixel; a press beside the marks does
# nothing; L re-opens the gauge with the other key event; closing the window
# ends the run with exit code 0. The sound card's output goes to CAPTURE
# (set up by the caller), which must hold the last click.
# Usage: window_test.sh STANDIN.exe GAUGE.gau WORK_FOLDER CAPTURE.wav
STANDIN=$1 GAUGE=$2 WORK=$3 CAPTURE=$4
SCREEN_IMAGE="$(dirname "$0")/screen_image.py"
source "$(dirname "$0")/window_driver.sh"
rm -rf "$WORK" "$CAPTURE"
mkdir -p "$WORK"
[ -n "${DISPLAY:-}" ] || fail "no X display: run under xvfb-run, as scripts/test.sh does"

# screen_shows K: the window's gauge area holds $WORK/detent-K.png, within a few frames.
screen_shows() {
    local deadline=$((SECONDS + 5)) geometry dump="$WORK/screen.xwd"
    eval "$(xdotool getwindowgeometry --shell "$window_id")"
    until xwd -silent -id "$window_id" >"$dump" &&
          python3 "$SCREEN_IMAGE" compare "$dump" $((origin_x - X)) $((origin_y - Y)) "$WORK/detent-$1.png" \
              >"$WORK/compare.txt"; do
        [ $SECONDS -lt $deadline ] || fail "the window does not show detent $1: $(cat "$WORK/compare.txt")"
        sleep 0.2
    done
}

declare -a centre_x centre_y
for k in 0 1 2 3 4 5 6; do
    read -r centre_x[k] centre_y[k] < <(mark_centre $k)
done

log="$WORK/window.log"
start_window "$log"
[ "$scale" -eq 6 ] || fail "scale $scale, not the default 6"
title=$(xdotool getwindowname "$window_id")
[ "$title" = "6 position panel dimmer - by Orlicet" ] || fail "the window is titled '$title', not with the gauge's title"

for k in 0 1 2 3 4 5 6; do
    point_at "${centre_x[k]}" "${centre_y[k]}"
    wait_for_line "$log" "^cursor: hand over detent $k\$"
    xdotool click 1
    wait_for_line "$log" "^click\(${centre_x[k]},${centre_y[k]}\) -> detent $k\$"
    wait_for_line "$log" '^ligar = [0-9]+$' 5 $((k + 1))
    [ "$(log_text "$log" | grep '^ligar = ' | tail -1)" = "ligar = $k" ] || fail "ligar is not $k after a press on mark $k"
    wait_for_line "$log" '^trigger_key_event\(0x000100D6, 0\)$' 5 $((k + 1))
    wait_for_line "$log" "^sound: clip started \($((k + 1)) so far\)\$"
    wait_for_line "$log" "^status: detent $k\\.0   ligar $k   panel lights 1\\.0 \(on\); key event 0x000100D6 \(the lit one\)   clips started $((k + 1))\$"
    screen_shows $k
done

# Beside the marks, on the knob's axis: the arrow, and a press does nothing.
press_at 29 24
wait_for_line "$log" '^cursor: arrow$'
wait_for_line "$log" '^click\(29,24\) -> no hot spot$'
[ "$(lines_matching "$log" '^trigger_key_event')" -eq 7 ] || fail "a press beside the marks sent a key event"
screen_shows 6

# L: the lights go off and the gauge is opened again; its next press sends the other event.
key_in_window l
wait_for_line "$log" '^initialize_var\(number=10\) -> 0\.0$'
press_at "${centre_x[2]}" "${centre_y[2]}"
wait_for_line "$log" '^trigger_key_event\(0x00010208, 0\)$'
wait_for_line "$log" '^status: detent 2\.0   ligar 2   panel lights 0\.0 \(off\); key event 0x00010208 \(the unlit one\)   clips started 8$'
screen_shows 2

# Closing the window as a person would (Alt+F4) ends the run cleanly.
close_with_keys alt+F4
wait_for_exit 20
[ "$standin_exit" -eq 0 ] || fail "exit code $standin_exit after closing the window: $(tail -5 "$log")"
[ "$(log_text "$log" | tail -1)" = unload ] || fail "the run did not end by unloading the gauge: $(tail -3 "$log")"
# Each opening of the device starts the capture anew: it holds the press after L.
[ -f "$CAPTURE" ] || fail "nothing reached the sound card"
python3 "$(dirname "$0")/heard.py" "$CAPTURE" >"$WORK/heard.txt" || fail "the click was not heard: $(cat "$WORK/heard.txt")"
echo "window test passed"

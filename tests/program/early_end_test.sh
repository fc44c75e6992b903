#!/usr/bin/env bash
# However a run ends early, on a value refused once the module is loaded or on
# a step that fails, standin.exe ends the gauge as the simulator does: kill,
# which closes the gauge's sound device, and then module_deinit.
# Usage: early_end_test.sh STANDIN.exe GAUGE.gau WORK_FOLDER
STANDIN=$1 GAUGE=$2 WORK=$3
source "$(dirname "$0")/../window/window_driver.sh"
rm -rf "$WORK"
mkdir -p "$WORK"
nowhere='Z:\no\such\folder'

# Each case: the options, then what the run says as it stops.
while IFS='|' read -r options said; do
    status=0
    # shellcheck disable=SC2086 # the options are words
    wine "$STANDIN" --gau "$GAUGE" $options >"$WORK/out" 2>"$WORK/err" || status=$?
    [ $status -eq 2 ] || fail "$options: exit code $status: $(log_text "$WORK/err")"
    grep -qF -- "standin: $said" <(log_text "$WORK/err") || fail "$options: did not say $said: $(log_text "$WORK/err")"
    ending=$(log_text "$WORK/out" | grep -E "^> |^sound: the gauge's sound device" | tail -n 3)
    expected=$'> kill\nsound: the gauge\'s sound device is closed\n> module_deinit'
    [ "$ending" = "$expected" ] || fail "$options: the run ended with"$'\n'"$ending"
done <<CASES
--detent 9|no detent 9: the mouse table has 7 hot spots
--detent 2 --detent 9|no detent 9: the mouse table has 7 hot spots
--detent 2 --png $nowhere\\gauge.png|cannot write $nowhere\\gauge.png
--tour --png $nowhere\\tour.png|cannot write $nowhere\\tour.png
CASES
echo "early end test passed"

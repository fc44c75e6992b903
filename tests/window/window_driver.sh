# Sourced by the window and registry tests: runs standin.exe under Wine on
# the X display of the test run and drives its window as a person would, with
# real X mouse and key events (xdotool), reading what it did from its log.
# Expects STANDIN and GAUGE (paths of standin.exe and the .gau) and WORK (a
# folder for logs and screen dumps).
set -euo pipefail

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# log_text FILE: the log as Unix text (the stand-in, a Windows program, ends lines with CR LF).
log_text() { [ ! -f "$1" ] || tr -d '\r' <"$1"; }

# wait_for_line FILE PATTERN [SECONDS] [COUNT]: until COUNT lines (1) of FILE
# match the extended regular expression PATTERN.
wait_for_line() {
    local file=$1 pattern=$2 seconds=${3:-10} count=${4:-1}
    local deadline=$((SECONDS + seconds))
    until [ "$(lines_matching "$file" "$pattern")" -ge "$count" ]; do
        [ $SECONDS -lt $deadline ] || fail "$file: fewer than $count lines matching '$pattern' after $seconds s"
        sleep 0.1
    done
}

# lines_matching FILE PATTERN: how many.
lines_matching() { log_text "$1" | grep -Ec -- "$2" || true; }

# mark_centre K: the gauge pixel "X Y" the stand-in presses for --detent K,
# from a batch run that also writes the picture it then shows,
# $WORK/detent-K.png, at scale 6.
mark_centre() {
    local log="$WORK/detent-$1.log"
    wine "$STANDIN" --gau "$GAUGE" --detent "$1" --png "$WORK/detent-$1.png" --scale 6 >"$log" 2>&1 ||
        fail "batch run for detent $1: $(cat "$log")"
    log_text "$log" | sed -n "s/^click(\([0-9]*\),\([0-9]*\)) -> detent $1\$/\1 \2/p"
}

# start_window LOG [OPTIONS...]: standin.exe --window in the background, once
# its window is on the screen. Sets standin_pid, window_id, origin_x, origin_y
# (the screen point of gauge pixel 0,0) and scale.
start_window() {
    local log=$1
    shift
    wine "$STANDIN" --gau "$GAUGE" --window "$@" >"$log" 2>&1 &
    standin_pid=$!
    wait_for_line "$log" '^window: gauge at screen' 60
    read -r origin_x origin_y scale < <(log_text "$log" | sed -n \
        's/^window: gauge at screen \(-\{0,1\}[0-9]*\),\(-\{0,1\}[0-9]*\), \([0-9]*\) screen pixels.*/\1 \2 \3/p')
    window_id=$(timeout 20 xdotool search --sync --onlyvisible --class standin.exe | head -1)
    [ -n "$window_id" ] || fail "no visible standin.exe window on the display"
}

# stop_standin: ends a stand-in still running after a failure; it may have
# ended by itself meanwhile.
stop_standin() {
    if [ -n "${standin_pid:-}" ]; then kill -KILL "$standin_pid" 2>/dev/null || true; fi
}
trap stop_standin EXIT

# press_at X Y: moves the pointer over gauge pixel X,Y in the window and presses the left button.
point_at() {
    xdotool mousemove --sync $((origin_x + $1 * scale + scale / 2)) $((origin_y + $2 * scale + scale / 2))
}
press_at() {
    point_at "$1" "$2"
    xdotool click 1
}

# key_in_window KEYS: keys as xdotool names them ("l"), pressed and released.
key_in_window() { xdotool key --window "$window_id" "$1"; }

# close_with_keys KEYS: presses the keys that close the window ("Escape",
# "alt+F4") and sends nothing after them. The window may be gone as soon as the
# last key is down, and a release sent to it then fails on a window that is no
# more; whether the close worked, wait_for_exit and the log tell.
close_with_keys() { xdotool keydown --window "$window_id" "$1"; }

# wait_for_exit SECONDS: sets standin_exit to the stand-in's exit code once it has ended.
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$standin_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || fail "standin.exe still running $1 s after it was closed"
        sleep 0.1
    done
    standin_exit=0
    wait "$standin_pid" || standin_exit=$?
    standin_pid=""
}

#!/usr/bin/env bash
# The machine's own simulator key, planted here with values of the test's
# own, stays byte for byte as it was through every kind of stand-in run: a
# batch run, a window run (checked while it runs too), a run whose module
# crashes, and a run killed from outside; while the module in each of those
# runs reads the stand-in's values, not the planted ones. What a crashed or
# killed run leaves of its private key and install folder, the next run
# removes.
# Usage: registry_test.sh STANDIN.exe GAUGE.gau CRASHING_GAUGE.gau WORK_FOLDER
STANDIN=$1 GAUGE=$2 CRASHING_GAUGE=$3 WORK=$4
source "$(dirname "$0")/../window/window_driver.sh"
rm -rf "$WORK"
mkdir -p "$WORK"
touch "$WORK/began"
[ -n "${DISPLAY:-}" ] || fail "no X display: run under xvfb-run, as scripts/test.sh does"

# The key as a 32-bit program such as the gauge finds it.
simulator_key='HKLM\SOFTWARE\Microsoft\Microsoft Games\Flight Simulator\7.0'
runs_key='HKCU\Software\Stand-in host\Runs'
temp_folder=$(winepath -u "$(wine cmd /c 'echo %TEMP%' | tr -d '\r')")
# Install folders made since the test began.
install_folders() { find "$temp_folder" -maxdepth 1 -name 'standin-*' -newer "$WORK/began" | wc -l; }
planted_path='C:\planted\nowhere'

remove_planted_key() { wine reg delete "$simulator_key" /f /reg:32 >/dev/null 2>&1 || true; }
trap 'stop_standin; remove_planted_key' EXIT

remove_planted_key
wine reg add "$simulator_key" /v PlayerName /t REG_SZ /d "Planted pilot" /f /reg:32 >/dev/null
wine reg add "$simulator_key" /v path /t REG_SZ /d "$planted_path" /f /reg:32 >/dev/null
wine reg add "$simulator_key" /v Marker /t REG_BINARY /d 00ff10a5c3 /f /reg:32 >/dev/null
wine reg export "$simulator_key" "$WORK/planted.reg" /reg:32 /y >/dev/null
grep -aq 'Marker' <(iconv -f UTF-16 -t UTF-8 "$WORK/planted.reg") || fail "the planted key was not exported"

# key_intact WHEN: the machine's key holds exactly what was planted.
key_intact() {
    wine reg export "$simulator_key" "$WORK/now.reg" /reg:32 /y >/dev/null 2>&1 ||
        fail "the machine's simulator key is gone $1"
    cmp -s "$WORK/planted.reg" "$WORK/now.reg" || fail "the machine's simulator key changed $1"
}

# left_behind RUN: the run ended without removing its private key and
# install folder, and the run before it (if it did the same) has had its own
# removed by it: one of each is left.
left_behind() {
    [ "$(wine reg query "$runs_key" 2>/dev/null | tr -d '\r' | grep -cF 'Stand-in host\Runs\')" -eq 1 ] ||
        fail "not one private key left behind by $1"
    [ "$(install_folders)" -eq 1 ] || fail "$(install_folders) install folders left behind by $1, not 1"
}

# heard_through_own_key LOG: the gauge played its click, which it finds only
# through the path value the stand-in gave it (the planted path has no clip).
heard_through_own_key() {
    wait_for_line "$1" '^sound: clip started \(1 so far\)$' 10
}

read -r x3 y3 < <(mark_centre 3)
heard_through_own_key "$WORK/detent-3.log"
key_intact "after a batch run"

start_window "$WORK/window.log"
key_intact "while a window run is going"
press_at "$x3" "$y3"
heard_through_own_key "$WORK/window.log"
close_with_keys Escape
wait_for_exit 20
[ "$standin_exit" -eq 0 ] || fail "the window run ended with exit code $standin_exit"
key_intact "after a window run"

code=0
wine "$STANDIN" --gau "$CRASHING_GAUGE" >"$WORK/crash.log" 2>&1 || code=$?
[ "$code" -ne 0 ] || fail "the run whose module crashes ended with exit code 0"
[ "$(lines_matching "$WORK/crash.log" '^> module_deinit$')" -eq 0 ] || fail "the module did not crash the run"
wait_for_line "$WORK/crash.log" '^crashing gauge: path C:\\users\\.*\\standin-[0-9]+-[0-9A-F]{16}-1\\$' 1
key_intact "after a run whose module crashed"
left_behind "a run whose module crashed"

start_window "$WORK/killed.log"
key_intact "while the run to be killed is going"
kill -KILL "$standin_pid"
wait_for_exit 20
key_intact "after a run killed from outside"
left_behind "a run killed from outside"

wine "$STANDIN" --gau "$GAUGE" --detent 5 >"$WORK/next.log" 2>&1 || fail "the next run failed: $(cat "$WORK/next.log")"
heard_through_own_key "$WORK/next.log"
key_intact "after the next run"
if wine reg query "$runs_key" >/dev/null 2>&1; then
    fail "private keys are left after the next run: $(wine reg query "$runs_key" /s | tr -d '\r')"
fi
[ "$(install_folders)" -eq 0 ] || fail "install folders are left after the next run"
echo "registry test passed"

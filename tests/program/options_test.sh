#!/usr/bin/env bash
# standin.exe as a tool: --help lists every option the parser takes; a bad value is refused
# naming the option and the value before anything is set up; a module that
# does not load is reported in the system's words, or as no DLL, before any
# registry key or folder is made; the default click is the click.wav beside the program, on a
# copy of it too.
# Usage: options_test.sh STANDIN.exe GAUGE.gau WORK_FOLDER
STANDIN=$1 GAUGE=$2 WORK=$3
source "$(dirname "$0")/../window/window_driver.sh"
rm -rf "$WORK"
mkdir -p "$WORK"

# run_standin ARGS...: sets status, and out and err to the texts of the run.
run_standin() {
    status=0
    wine "$STANDIN" "$@" >"$WORK/out" 2>"$WORK/err" || status=$?
    out=$(log_text "$WORK/out")
    err=$(log_text "$WORK/err")
}

run_standin --help
[ $status -eq 0 ] || fail "--help exit code $status"
# Every option --help lists, once, with its value as the line names it
# ("--scale N"), is one the parser takes: all of them in one run, each with a
# value of that kind, then --help again, which makes the run only print the list.
help=$out
listed=$(sed -nE 's/^  (--[a-z-]+)( [^ ]+)?  .*/\1\2/p' <<<"$help")
[ "$(wc -l <<<"$listed")" -ge 20 ] || fail "--help lists too few options: $help"
duplicate=$(cut -d' ' -f1 <<<"$listed" | sort | uniq -d)
[ -z "$duplicate" ] || fail "--help lists $duplicate twice"
every_option=()
while read -r option value; do
    every_option+=("$option")
    case $value in
        "") ;;
        FILE) every_option+=("$GAUGE") ;;
        N | K) every_option+=(1) ;;
        X,Y) every_option+=(1,1) ;;
        TEXT) every_option+=(C:\\) ;;
        on\|off\|NUMBER) every_option+=(off) ;;
        *) fail "--help names a value the test does not know: $option $value" ;;
    esac
done <<<"$listed"
run_standin "${every_option[@]}" --help
[ $status -eq 0 ] && [ "$out" = "$help" ] || fail "the parser refuses an option that --help lists: $err"

# What runs leave in the temporary folder and the registry, as it is before each run.
temp_folder=$(winepath -u "$(wine cmd /c 'echo %TEMP%' | tr -d '\r')")
set_up_so_far() {
    find "$temp_folder" -maxdepth 1 -name 'standin-*' | sort
    wine reg query 'HKCU\Software\Stand-in host' /s 2>/dev/null | tr -d '\r' || true
}
nothing_set_up() {
    [ -z "$out" ] || fail "$1: the run logged $out"
    [ "$(set_up_so_far)" = "$before" ] || fail "$1: an install folder or a private registry key was made"
}

while read -r option value; do
    before=$(set_up_so_far)
    run_standin --gau "$GAUGE" "$option" "$value"
    [ $status -eq 2 ] || fail "$option $value: exit code $status"
    grep -qF -- "standin: $option $value: " <<<"$err" || fail "$option $value: the message names neither: $err"
    nothing_set_up "$option $value"
done <<'BAD'
--frames abc
--frames -1
--scale 0
--scale 7x
--click 3
--click 3,y
--detent -1
--lights dim
--click-file Z:\nowhere\click.wav
BAD

before=$(set_up_so_far)
run_standin --gau "$WORK/nowhere.gau" --window
[ $status -eq 2 ] || fail "a missing module: exit code $status"
grep -Eq 'cannot load .*nowhere\.gau: [A-Za-z][^(]+ \(error [0-9]+\)$' <<<"$err" ||
    fail "a missing module is not reported in the system's words: $err"
nothing_set_up "a missing module"
echo "not a module" >"$WORK/text.gau"
run_standin --gau "$WORK/text.gau"
[ $status -eq 2 ] || fail "a text file as the module: exit code $status"
grep -q 'cannot load .*text\.gau: it is not a 32-bit Windows DLL (error 193)$' <<<"$err" ||
    fail "a text file as the module is not said to be no DLL: $err"
nothing_set_up "a text file as the module"

# A copy of standin.exe finds the click beside itself, and says so when it is not there.
mkdir -p "$WORK/copy"
cp "$STANDIN" "$WORK/copy/standin.exe"
STANDIN="$WORK/copy/standin.exe"
run_standin --gau "$GAUGE" --detent 3
[ $status -eq 2 ] || fail "a copy without click.wav: exit code $status"
grep -qF -- "--click-file $(winepath -w "$WORK/copy")\\click.wav: no such file" <<<"$err" ||
    fail "a copy without click.wav does not say where it looked: $err"
cp "$(dirname "$1")/click.wav" "$WORK/copy/"
run_standin --gau "$GAUGE" --detent 3
[ $status -eq 0 ] || fail "a copy with its click.wav: exit code $status: $err"
grep -q '^sound: clip started (1 so far)$' <<<"$out" || fail "a copy with its click.wav played nothing"
echo "options test passed"

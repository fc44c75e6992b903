#!/usr/bin/env bash
# A module that crashes under standin.exe is reported by the stand-in in one
# line of its own: the exception, the module's name plus the offset of the
# faulting instruction, and the host call in progress; the exit code says the
# module crashed, and Wine's own report of an unhandled exception is not
# reached.
# Usage: crash_report_test.sh STANDIN.exe CRASHING_GAUGE.gau OBJDUMP
STANDIN=$1 CRASHING_GAUGE=$2 OBJDUMP=$3
fail() { echo "FAILED: $*" >&2; exit 1; }
err_file=$(mktemp)
trap 'rm -f "$err_file"' EXIT

# Where the gauge's trap is, from its own bytes: the offset of its one ud2.
base=$("$OBJDUMP" -p "$CRASHING_GAUGE" | awk '$1 == "ImageBase" { print $2 }')
trap_address=$("$OBJDUMP" -d "$CRASHING_GAUGE" | awk '$NF == "ud2" { sub(":", "", $1); print $1; exit }')
[ -n "$base" ] && [ -n "$trap_address" ] || fail "no ud2 found in $CRASHING_GAUGE"
offset=$(printf '0x%X' $((0x$trap_address - 0x$base)))

status=0
wine "$STANDIN" --gau "$CRASHING_GAUGE" >/dev/null 2>"$err_file" || status=$?
err=$(tr -d '\r' <"$err_file")
[ "$status" -eq 3 ] || fail "exit code $status, not 3: $err"
expected="standin: the module crashed: illegal instruction at $(basename "$CRASHING_GAUGE")+$offset, during module_init"
grep -qxF "$expected" <<<"$err" || fail "no line \"$expected\" in: $err"
! grep -q 'Unhandled' <<<"$err" || fail "Wine reported the crash itself: $err"
echo "crash report test passed"

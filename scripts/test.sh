#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
BUILD_DIR="$PWD/build"
source scripts/wine_env.sh
# Where 32-bit programs run only through qemu, most processes
# that open Wine's real sound device crash or hang in its audio threads under
# the emulator, whatever they play: the cases on the real device ("real_sound"
# in their names) cannot run there and are left out, and a case that fails for the emulator's sake is
# run again, up to three times in all. Everywhere else every case runs once.
ctest_choice=""
if [ -n "$i386_emulated" ]; then
    echo "32-bit code runs through qemu here: leaving out the real_sound cases"
    ctest_choice="--exclude-regex real_sound --repeat until-pass:3"
fi
export ctest_choice
# One Wine server for the whole run instead of one per test, started on the
# virtual display so that every window the tests make has a screen.
# The first program of a server's life starts Wine's own services, which keep
# its standard output: start them from a program whose output goes nowhere, or
# ctest, reading a test's output to its end, waits on them until its time-out.
xvfb-run -a bash -c 'wineserver -p && wine cmd /c exit >/dev/null 2>&1 </dev/null
                     ctest --preset mingw $ctest_choice; status=$?; wineserver -k; exit $status'

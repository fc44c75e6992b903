#!/usr/bin/env bash
# Line and branch coverage of the gauge, from gcov's counters and gcovr:
#   scripts/coverage.sh                       the whole suite; then fails if a
#                                             branch of gauge/ or sound/ is
#                                             neither reached nor listed in
#                                             docs/hardening.md
#   scripts/coverage.sh --fuzz [cases] [seed] scripts/fuzz.sh's run alone
#                                             (default 2,000 cases, seed 1)
# Builds the coverage variant of the gauge into build-coverage/ (never the
# shipped one), runs on it under Wine, prints the per-file figures of module/,
# gauge/ and sound/, and writes an HTML report to build-coverage/coverage/
# (build-coverage/coverage-fuzz/ for the fuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
run=suite
[ "${1:-}" != --fuzz ] || { run=fuzz; shift; }
scripts/setup.sh gcovr
[ -f build-coverage/CMakeCache.txt ] || cmake --preset coverage
cmake --build build-coverage
BUILD_DIR="$PWD/build-coverage"
source scripts/wine_env.sh

# Each run counts from zero. The module writes its counts to the Unix paths its
# objects were built at; on drive Z: they are those paths whatever the
# program's current drive.
find build-coverage -name '*.gcda' -delete
export GCOV_PREFIX=Z:
status=0
if [ $run = suite ]; then
    report=build-coverage/coverage
    # Left out: what differs in this build by design (the file's bytes, its
    # instructions and its imports: the C runtime that writes the counts), and
    # the analyzers, which read the source and run no gauge.
    not_counted='^release\.|^pe_layout\.imports_only_system_dlls$|^analysis\.'
    on_display ctest --preset coverage -E "$not_counted" || status=$?
else
    report=build-coverage/coverage-fuzz
    on_display wine build-coverage/fuzz/dimmer_fuzz.exe "${1:-2000}" "${2:-1}" || status=$?
fi

rm -rf "$report"
mkdir -p "$report"
# Counts only from the module's objects (the Wine prefix's drive Z: leads back to /).
gcovr --root . --object-directory build-coverage --gcov-executable i686-w64-mingw32-gcov \
    --filter 'module/' --filter 'gauge/' --filter 'sound/' --exclude-unreachable-branches \
    --json "$report/coverage.json" --html-details "$report/index.html" build-coverage/module
gcovr --add-tracefile "$report/coverage.json" --txt
gcovr --add-tracefile "$report/coverage.json" --branches --txt
echo "HTML report: $report/index.html"
if [ $run = suite ]; then
    python3 -B tests/coverage/unreached_branches.py "$report/coverage.json" docs/hardening.md || status=1
fi
exit $status

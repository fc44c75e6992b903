#!/usr/bin/env bash
# run_analyzer.sh clang-tidy|cppcheck PYTHON SOURCE_DIR BUILD_DIR GCC_DIR: runs
# the analyzer over the gauge and the stand-in as the build compiles them, and
# fails on any finding (.clang-tidy and cppcheck_suppressions.txt name what is
# switched off, and why).
set -euo pipefail
tool=$1 python=$2 source_dir=$3 build_dir=$4 gcc_dir=$5
work=$build_dir/analysis/$tool
cd "$source_dir"
mapfile -t files < <("$python" -B tests/analysis/clang_database.py "$build_dir" "$gcc_dir" "$work" \
                     module gauge sound standin)
case $tool in
clang-tidy)
    printf '%s\n' "${files[@]}" | xargs -P2 -n4 clang-tidy -p "$work" --quiet ;;
cppcheck)
    # From cppcheck 2.11 on, it follows every branch only when asked, and
    # says so in a line that counts as a finding.
    # (Its help is read whole first: grep -q leaving a pipe early would fail
    # the pipeline under pipefail whenever cppcheck was still writing.)
    depth=()
    help=$(cppcheck --help || true)
    [[ $help != *--check-level* ]] || depth=(--check-level=exhaustive)
    cppcheck --project="$work/compile_commands.json" --quiet --error-exitcode=1 -j2 "${depth[@]}" \
        --enable=warning,performance,portability --library=windows --platform=win32A \
        --suppressions-list=tests/analysis/cppcheck_suppressions.txt ;;
esac

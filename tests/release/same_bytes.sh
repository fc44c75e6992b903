#!/usr/bin/env bash
# Builds the gauge module again from a copy of the source at another path, in
# a build folder of its own, and compares it byte for byte with the one built:
# a time stamp or a path in the file would make them differ.
# usage: same_bytes.sh SOURCE_DIR BUILT_GAU
set -euo pipefail
source_dir=$1 built=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/copy of source"
tar -C "$source_dir" --exclude=./build --exclude=./.git -c . | tar -C "$scratch/copy of source" -x
cmake -S "$scratch/copy of source" -B "$scratch/other build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    --toolchain "$scratch/copy of source/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$scratch/other build" --target panel_dimmer >/dev/null
rebuilt="$scratch/other build/panel_dimmer.gau"
if cmp "$built" "$rebuilt"; then
    echo "same bytes: $(sha256sum <"$built" | cut -d' ' -f1)"
else
    echo "the rebuilt module differs from $built" >&2
    exit 1
fi

#!/usr/bin/env bash
# Builds the gauge module and the panel builders' ZIP again from a copy of the
# source at another path, in a build folder of its own, and compares both byte
# for byte with the ones of the build: a time stamp or a path in either would
# make them differ. The two ZIPs are made at least two seconds apart, more than
# the two-second grain of a ZIP entry's time.
# usage: same_bytes.sh SOURCE_DIR BUILD_DIR CPACK VERSION
set -euo pipefail
source_dir=$1 build=$2 cpack=$3 version=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/copy of source"
tar -C "$source_dir" --exclude=./build --exclude=./.git -c . | tar -C "$scratch/copy of source" -x
other="$scratch/other build"
cmake -S "$scratch/copy of source" -B "$other" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    --toolchain "$scratch/copy of source/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$other" --target panel_dimmer click_wav >/dev/null

# package BUILD FOLDER: the ZIP of BUILD, made in FOLDER; prints its path.
package() {
    "$cpack" --config "$1/CPackConfig.cmake" -B "$2" >/dev/null
    echo "$2/panel_dimmer-$version.zip"
}
zip=$(package "$build" "$scratch/package")
sleep 2
other_zip=$(package "$other" "$scratch/other package")

differs=0
for pair in "$build/panel_dimmer.gau|$other/panel_dimmer.gau" "$zip|$other_zip"; do
    first=${pair%|*} second=${pair#*|}
    if cmp "$first" "$second"; then
        echo "same bytes: $(basename "$first") $(sha256sum <"$first" | cut -d' ' -f1)"
    else
        echo "$(basename "$first") differs when made again from the same source" >&2
        differs=1
    fi
done
exit $differs

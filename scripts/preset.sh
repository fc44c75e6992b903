# Sourced by build.sh and test.sh: the CMake preset to build with (PRESET:
# mingw, GCC, by default; or clang) and its build folder (CMakePresets.json).
preset=${PRESET:-mingw}
case $preset in
mingw) build_dir=build ;;
*) build_dir=build-$preset ;;
esac

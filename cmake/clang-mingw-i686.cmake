# The same cross-build with Debian's clang as the compiler, against the
# MinGW-w64 headers and libraries of the GCC build (posix thread model).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)

# clang finds the GCC's libraries but not its C++ headers: it does not take a
# folder named 12-posix for a version.
set(CMAKE_CXX_FLAGS_INIT "-isystem ${MINGW_GCC_DIR}/include/c++ -isystem ${MINGW_GCC_DIR}/include/c++/i686-w64-mingw32")
# The posix variant's libgcc_eh, which clang links last, calls winpthread: take
# all of it in, since nothing can be named after what clang adds at the end.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${MINGW_GCC_DIR} -Wl,--whole-archive -lpthread -Wl,--no-whole-archive")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-L${MINGW_GCC_DIR}")

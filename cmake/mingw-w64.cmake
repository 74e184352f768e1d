# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers of the POSIX thread model
# (the one whose C++ library has std::thread). Libraries are looked for only in MinGW's own
# folder and in the Windows dependencies that scripts/windows.sh builds; the programs that the
# build runs itself, and the tests, run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

get_filename_component(SWARM_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${SWARM_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config sees the Windows dependencies' files only, never the Linux system's.
set(ENV{PKG_CONFIG_LIBDIR} "${SWARM_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

# GCC for 64-bit Windows cannot align the stack to the 32 or 64 bytes of AVX and AVX-512
# registers, yet spills them with aligned moves, which fault on a stack slot aligned to 16 only.
# The assembler writes every aligned vector move as the unaligned one, which does the same on
# aligned data at the same speed.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

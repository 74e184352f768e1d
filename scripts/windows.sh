#!/usr/bin/env bash
# Builds the program for 64-bit Windows with Debian's MinGW-w64 cross compiler into
# build-windows/, and runs its tests under Wine. The Windows libraries it links (freeglut, GLEW,
# libpng, GoogleTest, Google Benchmark from Debian's source packages, SLEEF from its release
# source) are built once, as static libraries, into build-windows/deps/ and kept while present.
# SLEEF_SOURCE gives SLEEF's source archive (../shared/vendor/sleef-3.5.1.tar.gz by default);
# JOBS sets the number of build and test jobs, every core by default.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
out=$project/build-windows
deps=$out/deps
jobs=${JOBS:-$(nproc)}
sleef_source=${SLEEF_SOURCE:-../shared/vendor/sleef-3.5.1.tar.gz}
toolchain=$project/cmake/mingw-w64.cmake

scripts/setup.sh g++-mingw-w64-x86-64-posix wine wine64 libz-mingw-w64-dev dpkg-dev ninja-build

# Wine keeps its state inside the build folder and says nothing on stderr. Its background
# processes would inherit the output pipe of whoever runs it (and hang ctest), so one wineserver
# is started here and ended on the way out.
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine64=/usr/lib/wine/wine64
mkdir -p "$WINEPREFIX"
wineserver -k 2> /dev/null || true  # one left by a run that was killed
wineserver -p
trap 'wineserver -k || true' EXIT
# Wine's own services start with the first program and stay; started here, they hold none of
# the build's or the tests' output pipes.
"$wine64" wineboot --init < /dev/null > /dev/null 2>&1

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The sources of Debian's own packages, for the suite this machine runs.
debian_sources() {
  local list=/etc/apt/sources.list.d/particle-swarm-sources.sources
  [ -f "$list" ] && return
  local suite
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$suite" | as_root tee "$list" > /dev/null
  as_root apt-get update -qq
}

# Runs a step of the dependencies' build with its output kept in a log, shown only if it fails.
logged() {
  local log=$1
  shift
  "$@" >> "$log" 2>&1 || { cat "$log" >&2; return 1; }
}

# Configures, builds and installs one CMake source tree into deps/ for Windows; the build
# targets, when only some are wanted, follow a --. Ninja, since SLEEF's generated headers
# build in parallel only with it.
cross_build() {
  local source=$1 work=$2
  shift 2
  local options=() targets=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && { shift; targets=(--target "$@"); }
  logged "$work.log" cmake -G Ninja -S "$source" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF "${options[@]}"
  logged "$work.log" cmake --build "$work" -j "$jobs" "${targets[@]}"
  logged "$work.log" cmake --install "$work"
}

build_dependencies() {
  local work=$out/deps-work
  [ -f "$sleef_source" ] || { echo "windows.sh: no SLEEF source archive at $sleef_source (set SLEEF_SOURCE)" >&2; exit 1; }
  sleef_source=$(realpath "$sleef_source")
  rm -rf "$deps" "$work"
  mkdir -p "$work"
  debian_sources
  (cd "$work" && logged sources.log apt-get source freeglut glew googletest libpng1.6 benchmark)
  echo "windows.sh: building freeglut, GLEW, libpng, GoogleTest, Google Benchmark and SLEEF for Windows"
  cross_build "$work"/freeglut-*/ "$work/freeglut" -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
    -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_REPLACE_GLUT=ON
  cross_build "$work"/glew-*/build/cmake "$work/glew" -DBUILD_UTILS=OFF
  cross_build "$work"/libpng1.6-*/ "$work/libpng" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF
  cross_build "$work"/googletest-*/ "$work/googletest"
  # Debian's package takes its version from the build, not from git.
  local benchmark_tree=("$work"/benchmark-*/)
  local benchmark_version=${benchmark_tree[0]%/}
  cross_build "${benchmark_tree[0]}" "$work/benchmark" -DGIT_VERSION="${benchmark_version##*-}" \
    -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF

  # SLEEF generates its headers with helper programs, which must run here: they are built for
  # Linux first, and the cross build takes them from there.
  tar -xzf "$sleef_source" -C "$work"
  local sleef_tree=("$work"/sleef-*/)
  # Its build appends the header's last part with the Windows shell's `type` whenever the
  # target is Windows; the shell that runs this build is the Linux one.
  sed -i 's/^if((MSVC OR MINGW AND WIN32) OR SLEEF_CLANG_ON_WINDOWS)$/if(CMAKE_HOST_WIN32)/' "${sleef_tree[0]}/src/libm/CMakeLists.txt"
  local sleef_options=(-DBUILD_TESTS=OFF -DBUILD_DFT=OFF -DBUILD_QUAD=OFF -DBUILD_GNUABI_LIBS=OFF)
  local sleef_helpers=(mkrename mkrename_gnuabi mkmasked_gnuabi mkalias mkdisp)
  logged "$work/sleef-native.log" cmake -G Ninja -S "${sleef_tree[0]}" -B "$work/sleef-native" -DCMAKE_BUILD_TYPE=Release "${sleef_options[@]}"
  logged "$work/sleef-native.log" cmake --build "$work/sleef-native" -j "$jobs" --target "${sleef_helpers[@]}"
  # Only the library itself: the rest of its tree serves the left-out transforms and tests.
  cross_build "${sleef_tree[0]}" "$work/sleef" "${sleef_options[@]}" -DNATIVE_BUILD_DIR="$work/sleef-native" -- sleef
  # The static library's header must not declare its functions as taken from a DLL.
  mkdir -p "$deps/lib/pkgconfig"
  printf 'prefix=${pcfiledir}/../..\nName: SLEEF\nDescription: vectorised elementary functions, static\nVersion: 3.5.1\nCflags: -I${prefix}/include -DSLEEF_STATIC_LIBS\nLibs: -L${prefix}/lib -lsleef\n' \
    > "$deps/lib/pkgconfig/sleef.pc"

  rm -rf "$work"
  touch "$deps/complete"
}

[ -f "$deps/complete" ] || build_dependencies

# The window test sends the window its close message from an X client of this machine.
close_when_shown=$out/linux/close_when_shown
if [ ! "$close_when_shown" -nt tests/window/close_when_shown.cpp ]; then
  mkdir -p "$out/linux"
  c++ -std=c++20 -O2 -Wall -Wextra tests/window/close_when_shown.cpp -lX11 -o "$close_when_shown"
fi

cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSWARM_CLOSE_WHEN_SHOWN="$close_when_shown" > /dev/null
cmake --build "$out" -j "$jobs"

# The program is one file for 64-bit Windows that runs on any of them: it may take only the
# system's own DLLs.
x86_64-w64-mingw32-objdump -f "$out/particle_swarm.exe" | grep -q 'file format pei-x86-64' ||
  { echo "windows.sh: particle_swarm.exe is not a 64-bit Windows program" >&2; exit 1; }
# A desktop program of the GUI subsystem: started from the file manager it opens no console.
# grep reads the whole listing: one that stopped at the match would fail the pipe.
x86_64-w64-mingw32-objdump -p "$out/particle_swarm.exe" | grep -E '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' > /dev/null ||
  { echo "windows.sh: particle_swarm.exe is not a Windows GUI program" >&2; exit 1; }
system_dlls='^(kernel32|user32|gdi32|opengl32|glu32|winmm|advapi32|shell32|ole32|msvcrt)\.dll$'
foreign=$(x86_64-w64-mingw32-objdump -p "$out/particle_swarm.exe" | awk '/DLL Name:/ { print tolower($3) }' | grep -Ev "$system_dlls" || true)
if [ -n "$foreign" ]; then
  echo "windows.sh: particle_swarm.exe needs DLLs that Windows does not have:" $foreign >&2
  exit 1
fi

# The window test last and alone: its timings hold on a machine that is not busy with the rest.
ctest --test-dir "$out" -j "$jobs" --output-on-failure -E '^window_program$'
ctest --test-dir "$out" --output-on-failure -R '^window_program$'

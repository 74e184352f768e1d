#!/usr/bin/env bash
# Leaves in dist/ one archive per system, each with the program and the text for its users
# (release/README.txt): particle-swarm-VERSION-linux-x86_64.tar.gz and
# particle-swarm-VERSION-windows-x86_64.zip, VERSION being the project's version in
# CMakeLists.txt. The programs are those of build/ and build-windows/, brought up to date here
# (scripts/windows.sh sets up the Windows build when it is missing). Each archive is then
# unpacked into a fresh folder and started there (the Windows one under Wine), on a virtual X
# server, until it has written its factory vorka.dat beside itself, and closed.
# JOBS sets the number of build jobs, every core by default.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
jobs=${JOBS:-$(nproc)}
scripts/setup.sh zip unzip

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWARM_PORTABLE=ON > /dev/null
cmake --build build -j "$jobs" --target swarm_app close_when_shown
if [ -f build-windows/CMakeCache.txt ]; then
  cmake --build build-windows -j "$jobs" --target swarm_app
else
  scripts/windows.sh
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
[ -n "$version" ] || { echo "release.sh: no project version in build/CMakeCache.txt" >&2; exit 1; }
name=particle-swarm-$version

# The shared libraries the Linux program needs beyond the C library, OpenGL and X, with the
# Debian package of each, for the users' text.
system_libraries='^(libc|libm|libdl|libpthread|librt|ld-linux-x86-64|libGL|libGLX|libOpenGL|libX11|libXi|libXxf86vm)\.so'
others=$(readelf -d build/particle_swarm | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | grep -Ev "$system_libraries" || true)
if [ -z "$others" ]; then
  libraries=", nothing more."
else
  libraries=", and also:"
  for library in $others; do
    package=$(dpkg -S "*/$library" 2> /dev/null | head -n 1 | cut -d: -f1)
    libraries+=$'\n'"             $library${package:+ (Debian: package $package)}"
  done
fi

rm -rf dist
stage=dist/stage
mkdir -p "$stage/linux/$name" "$stage/windows/$name"
text=$(sed -e "s/@VERSION@/$version/" release/README.txt | awk -v libraries="$libraries" '{ sub(/@LINUX_LIBRARIES@/, libraries) } 1')
printf '%s\n' "$text" > "$stage/linux/$name/README.txt"
printf '%s\n' "$text" | sed 's/$/\r/' > "$stage/windows/$name/README.txt"
strip -o "$stage/linux/$name/particle_swarm" build/particle_swarm
x86_64-w64-mingw32-strip -o "$stage/windows/$name/particle_swarm.exe" build-windows/particle_swarm.exe
tar -czf "dist/$name-linux-x86_64.tar.gz" -C "$stage/linux" --owner=0 --group=0 "$name"
(cd "$stage/windows" && zip -qr "$project/dist/$name-windows-x86_64.zip" "$name")
rm -rf "$stage"

# Each on a virtual X server of its own, from a display number of this run.
for archive in "dist/$name-linux-x86_64.tar.gz" "dist/$name-windows-x86_64.zip"; do
  xvfb-run -a -n $((RANDOM % 900 + 100)) -s "-screen 0 1024x768x24" \
    scripts/check_release.sh "$archive" build/close_when_shown "$project/build-windows/wine-release"
done
ls -l dist

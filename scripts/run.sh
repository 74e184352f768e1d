#!/usr/bin/env bash
# Sets up, builds and starts the program in its own folder, where it keeps its state file.
# A tree built before is not configured again (the build re-runs CMake itself when a CMake file
# changed). JOBS sets the number of build jobs, every core by default.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "${JOBS:-$(nproc)}" --target swarm_app
exec build/particle_swarm

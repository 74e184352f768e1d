#!/usr/bin/env bash
# Sets up, builds and starts the program in its own folder, where it keeps its state file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target swarm_app
exec build/particle_swarm

#!/usr/bin/env bash
# Sets up, builds and runs the test suite. The build folder may be given as the first argument,
# and further CMake options after it (the sanitizer build uses this). JOBS sets the number of
# build and test jobs, every core by default.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build_dir=${1:-build}
shift || true
jobs=${JOBS:-$(nproc)}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build "$build_dir" -j "$jobs"
scripts/run_tests.sh "$build_dir"

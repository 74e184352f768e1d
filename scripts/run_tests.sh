#!/usr/bin/env bash
# Runs the tests of a build folder: all but the window test in parallel (JOBS jobs, every core
# by default), then the window test alone, when the build has one. The window test keeps every
# core busy on purpose, and its waits are meant for a machine that does not also run the rest
# of the suite.
# Usage: scripts/run_tests.sh BUILD_DIR
set -euo pipefail
build_dir=$1
ctest --test-dir "$build_dir" -j "${JOBS:-$(nproc)}" --output-on-failure -E '^window_program$'
if ctest --test-dir "$build_dir" -N -R '^window_program$' | grep -q '^Total Tests: 1$'; then
  ctest --test-dir "$build_dir" --output-on-failure -R '^window_program$'
fi

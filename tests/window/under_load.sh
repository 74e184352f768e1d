#!/usr/bin/env bash
# The window tests on a machine with every core busy: one busy loop per core and a parallel
# build of the project beside them, while the Linux window test and the Wine window test run
# ROUNDS times each (10 by default), the two side by side. Prints each round's result, the pass
# counts and the time taken; exits non-zero unless every round passed.
# Needs the Linux build in build/ (scripts/test.sh) and the Windows build in build-windows/
# (scripts/windows.sh), and no other run of the window tests of these builds meanwhile (a Wine
# test of the same build shares its Wine folder). Not part of CI: on 8 cores a Linux round takes
# about 3 to 5 minutes under this load and a Wine round 3.5 to 6.5, so ten rounds take about 45
# minutes (the Wine lane's). Ctrl-C or a kill of the script ends its busy loops, its build and its rounds.
# Usage: tests/window/under_load.sh [ROUNDS], from anywhere in the repository.
set -uo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-10}
cores=$(nproc)
load_build=$(mktemp -d)
log_dir=$(mktemp -d)
busy=()
groups=()
stop_load() {
  [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2> /dev/null
  # The build loop and the two lanes of rounds each lead a process group of their own, with
  # everything they started: compilers, ctest, the virtual X servers, the tests and the program.
  local group
  for group in "${groups[@]}"; do kill -- -"$group" 2> /dev/null; done
  wait 2> /dev/null
  rm -rf "$load_build"
}
trap stop_load EXIT

for _ in $(seq "$cores"); do
  (while :; do :; done) &
  busy+=($!)
done
# The build starts again from nothing whenever it is done.
cmake -S . -B "$load_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWARM_BENCH=OFF > /dev/null
setsid bash -c 'while :; do
  cmake --build "$0" -j "$1" > /dev/null 2>&1
  cmake --build "$0" --target clean > /dev/null 2>&1
done' "$load_build" "$cores" &
groups+=($!)

# One lane of rounds for a build's window test; each test has a virtual X server of its own.
rounds_of() {
  local build=$1 round round_start passed=0 log
  for round in $(seq "$rounds"); do
    log=$log_dir/$build-$round.log
    round_start=$SECONDS
    if ctest --test-dir "$build" --output-on-failure -R '^window_program$' > "$log" 2>&1; then
      passed=$((passed + 1))
      echo "$build, round $round: passed in $((SECONDS - round_start)) s"
    else
      echo "$build, round $round: FAILED in $((SECONDS - round_start)) s; its output in $log"
      grep -A12 '^FAILED' "$log"
    fi
  done
  echo "$passed" > "$log_dir/$build.passed"
}

started=$SECONDS
# Job control gives each lane a process group of its own; a lane reads nothing from a terminal.
set -m
rounds_of build < /dev/null &
linux_lane=$!
rounds_of build-windows < /dev/null &
wine_lane=$!
set +m
groups+=("$linux_lane" "$wine_lane")
wait "$linux_lane" "$wine_lane"
linux_passed=$(cat "$log_dir/build.passed")
wine_passed=$(cat "$log_dir/build-windows.passed")
echo "under load ($cores busy loops, a build with $cores jobs, the two tests side by side):" \
  "Linux $linux_passed of $rounds, Wine $wine_passed of $rounds passed in $(((SECONDS - started) / 60)) min"
[ "$linux_passed" -eq "$rounds" ] && [ "$wine_passed" -eq "$rounds" ]

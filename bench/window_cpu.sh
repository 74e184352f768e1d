#!/usr/bin/env bash
# The program's processor use in its window at the factory state, running and then paused by
# the Pause key, as a share of one core over a number of seconds (10 by default), from the
# process's user and system time in /proc. Runs the program on a virtual X server of its own.
# Usage: bench/window_cpu.sh build/particle_swarm [seconds]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"; fi
program=$(realpath "$1")
seconds=${2:-10}
source "$(dirname "$0")/../scripts/wait_for.sh"
folder=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2> /dev/null; rm -rf "$folder"' EXIT
cp "$program" "$folder/particle_swarm"
cd "$folder"
./particle_swarm &
pid=$!
whole_state() { [ -f vorka.dat ] && [ "$(wc -l < vorka.dat)" -eq 17018 ]; }
await 60 "the factory state file of 17018 lines" whole_state
program_window() { xdotool search --onlyvisible --name '^Untitled$' 2> /dev/null | head -n 1; }
has_window() { [ -n "$(program_window)" ]; }
await 30 "the program's window" has_window
ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
# The share of one core used over the given seconds.
measure() {
  local before after
  before=$(cpu_ticks)
  sleep "$seconds"
  after=$(cpu_ticks)
  awk -v used=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" 'BEGIN { printf "%.1f %%\n", 100 * used / hz / s }'
}
sleep 1
echo "running: $(measure)"
xdotool mousemove --window "$(program_window)" 300 300 key Pause
sleep 1
echo "paused: $(measure)"

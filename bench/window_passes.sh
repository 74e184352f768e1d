#!/usr/bin/env bash
# Passes per second of the program in its window with a large model: 20 kinds of 500 particles
# by default (10,000), every rule set (each kind chases its own kind and flees the others, as
# bench_pass's large models). The main loop runs one simulation step per pass, so a perf probe on
# the step counts the passes of the running program over a number of seconds (10 by default),
# after 5 seconds for the start. Runs the program on a virtual X server of its own; the probe
# needs root.
# Usage: bench/window_passes.sh build/particle_swarm [seconds] [kinds] [particles per kind]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"; fi
program=$(realpath "$1")
seconds=${2:-10}
kinds=${3:-20}
count=${4:-500}
folder=$(mktemp -d)
pid=
probe=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; [ -n "$probe" ] && perf probe -q -d "$probe"; rm -rf "$folder"' EXIT
cp "$program" "$folder/particle_swarm"
cd "$folder"

# The factory file from a first start, then the model written into it: a cell's value is line
# 10 x row + 3, the maximum particle count the second line from the end. The counts of 5 are
# rescaled to the maximum over the kinds in the first pass.
./particle_swarm &
pid=$!
until [ -f vorka.dat ] && [ "$(wc -l < vorka.dat)" -eq 17018 ]; do sleep 0.1; done
kill "$pid"
wait "$pid" 2> /dev/null || true
awk -v kinds="$kinds" -v total=$((kinds * count)) '
  function set(row, value) { changed[10 * row + 3] = value }
  BEGIN {
    set(1700, kinds)
    for (k = 0; k < kinds; k++) {
      set(k, 1 + k % 15)
      set(40 + k, 5)
      for (t = 0; t < kinds; t++) set(80 + 40 * k + t, k == t ? -1 : 1)
    }
    changed[17017] = total
  }
  NR in changed { printf "%s%d \r\n", changed[NR] < 0 ? "" : " ", changed[NR]; next }
  { print }' vorka.dat > model.dat
mv model.dat vorka.dat

./particle_swarm &
pid=$!
xdotool search --sync --name '^Untitled$' > /dev/null
sleep 5
# The probe at the step's own entry address: inlined copies of it, if any, are not passes.
step=$(nm ./particle_swarm | awk '$3 == "_Z13simulate_stepv" { print $1 }')
perf probe -q -x ./particle_swarm -a "simulation_pass=0x$step"
probe=probe_particle_swarm:simulation_pass
perf stat -x, -e "$probe" -p "$pid" -o stat.csv sleep "$seconds"
passes=$(awk -F, '$3 ~ /probe_/ { print $1 }' stat.csv)
awk -v passes="$passes" -v s="$seconds" -v n=$((kinds * count)) \
  'BEGIN { printf "%d particles: %.2f passes per second (%d passes in %d s)\n", n, passes / s, passes, s }'

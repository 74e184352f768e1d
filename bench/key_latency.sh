#!/usr/bin/env bash
# The time from a key press to the first shown picture that reflects it, at the heavy model:
# 3 kinds of 333 particles, every rule set (each kind flees its own and chases the others),
# wire cubes. Runs the program on a virtual X server of its own and times it with key_latency.
# Usage: bench/key_latency.sh build/particle_swarm build/key_latency [ROUNDS]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"; fi
program=$(realpath "$1")
tool=$(realpath "$2")
rounds=${3:-20}
source "$(dirname "$0")/../scripts/wait_for.sh"
folder=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2> /dev/null; rm -rf "$folder"' EXIT
cp "$program" "$folder/particle_swarm"
cd "$folder"

whole_state() { [ -f vorka.dat ] && [ "$(wc -l < vorka.dat)" -eq 17018 ]; }
# The first start writes the factory state.
./particle_swarm &
pid=$!
await 60 "the factory state file of 17018 lines" whole_state
kill "$pid"
wait "$pid" || true

# The value of row r of the cell table is line 10 r + 3; the saved parameters follow the table,
# the largest number of particles second from the end.
awk 'BEGIN { ORS = "\r\n" }
     { sub(/\r$/, ""); line[NR] = $0 }
     END {
       line[1700 * 10 + 3] = " 3 "
       for (kind = 0; kind < 3; ++kind) {
         line[kind * 10 + 3] = " " (1 + kind) " "
         line[(40 + kind) * 10 + 3] = " 5 "
         for (target = 0; target < 3; ++target)
           line[(80 + 40 * kind + target) * 10 + 3] = kind == target ? "-1 " : " 1 "
       }
       line[NR - 1] = " 999 "
       for (i = 1; i <= NR; ++i) print line[i]
     }' vorka.dat > heavy.dat
mv heavy.dat vorka.dat

./particle_swarm &
pid=$!
window_is_shown() {
  local window
  window=$(xdotool search --onlyvisible --name '^Untitled$' 2> /dev/null | head -n 1)
  [ -n "$window" ] && xdotool getwindowgeometry "$window" 2> /dev/null | grep -q 'Geometry: 640x480'
}
await 60 "the program's window at 640x480" window_is_shown
sleep 2
"$tool" "$rounds"

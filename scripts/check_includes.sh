#!/usr/bin/env bash
# Fails on an include against the direction of the rooms. From the bottom up:
#   runtime/   the services the logic calls; it knows neither the logic nor a host
#   compute/   the exact computation's machinery: lanes, proofs, instruction sets, precision
#              control, workers
#   context/   the one program context, beside compute/; it holds the rooms' variables
#              (*_vars.h), which know only the runtime and one another
#   model/     the cell and kind tables, the step, placement, the generators
#   ui/        the grid, the parameter panel, the mouse, the menu
#   view/      the projection, the shapes and the frame, which draws the panel and the grid border
#   state/     the state file, beside view/
#   app/       start-up, the main loop, the commands
# A room includes itself and the rooms below it; rooms of one level do not include each other.
# No room of the logic includes a host; a host knows the runtime and itself. Only the
# program's main joins a host to the logic.
set -euo pipefail
cd "$(dirname "$0")/.."

level() {  # level <room>: its height in the direction, empty for a folder outside it
  case $1 in
    runtime) echo 0 ;;
    compute | context) echo 1 ;;
    model) echo 2 ;;
    ui) echo 3 ;;
    view | state) echo 4 ;;
    app) echo 5 ;;
  esac
}

# Empty when the include is allowed, else why not.
against_direction() {  # against_direction <file> <included path>
  local file=$1 included=$2
  local room=${file#src/} target=${included%%/*}
  room=${room%%/*}
  [[ $file == src/app/main.cpp ]] && return 0
  if [[ $room == host ]]; then
    [[ $target == runtime || $target == host ]] || echo "a host includes only runtime/ and host/"
    return 0
  fi
  [[ $target == host ]] && { echo "the logic and the runtime never include host/"; return 0; }
  if [[ $file == *_vars.h ]]; then
    [[ $target == runtime || $included == *_vars.h ]] || echo "a room's variables include only runtime/ and other *_vars.h"
    return 0
  fi
  if [[ $included == *_vars.h ]]; then
    [[ $room == context ]] || echo "a room's variables are reached through context/program.h"
    return 0
  fi
  local from to
  from=$(level "$room") to=$(level "$target")
  [[ -z $from || -z $to || $room == "$target" ]] && return 0
  ((to < from)) || echo "$room/ may include only the rooms below it"
}

status=0
while IFS=: read -r file line text; do
  included=${text#*\"}
  included=${included%%\"*}
  reason=$(against_direction "$file" "$included")
  if [[ -n $reason ]]; then
    echo "$file:$line: includes $included against the rooms' direction: $reason" >&2
    status=1
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' src)
exit $status

#!/usr/bin/env bash
# Fails on an include against the direction of the rooms, and on a circle of units inside a
# room. The rooms from the bottom up:
#   runtime/   the services the logic calls; it knows neither the logic nor a host
#   compute/   the exact computation's machinery: lanes, proofs, instruction sets, precision
#              control, workers
#   context/   the one program context, beside compute/, with each room's variables
#              (*_vars.h), which know only the runtime and one another
#   model/     the cell and kind tables, the step, placement, the generators
#   view/      the projection and the shapes
#   ui/        the grid, the parameter panel, the mouse, the menu
#   state/     the state file
#   app/       the frame, start-up, the main loop, the commands
# A room includes itself and the rooms below it; rooms of one level do not include each other.
# No room of the logic includes a host; a host knows the runtime and itself. Only the
# program's main joins a host to the logic.
#
# Inside a room, a unit is a header with its source files (name.h, name.cpp, and one system's
# name_posix.cpp, name_win32.cpp or name_x11.cpp); unit A depends on unit B when a file of A
# includes B's header. The units of a room depend on one another one way.
set -euo pipefail
cd "$(dirname "$0")/.."

level() {  # level <room>: its height in the direction, empty for a folder outside it
  case $1 in
    runtime) echo 0 ;;
    compute | context) echo 1 ;;
    model) echo 2 ;;
    view) echo 3 ;;
    ui) echo 4 ;;
    state) echo 5 ;;
    app) echo 6 ;;
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
    [[ $room == context ]] || { echo "a room's variables stand in context/"; return 0; }
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

unit_of() {  # unit_of <path>: the unit a file belongs to
  local name=${1##*/}
  name=${name%.*}
  name=${name%_posix}
  name=${name%_win32}
  name=${name%_x11}
  echo "$name"
}

# Reads "room unit included-unit" lines; prints each circle as "room unit unit ...".
circles_of_units() {
  awk '
    { room[$1] = 1; unit[$1 SUBSEP $2] = 1; unit[$1 SUBSEP $3] = 1; reach[$1 SUBSEP $2 SUBSEP $3] = 1 }
    END {
      for (r in room) {
        n = 0
        for (key in unit) { split(key, part, SUBSEP); if (part[1] == r) name[++n] = part[2] }
        for (k = 1; k <= n; k++)
          for (i = 1; i <= n; i++)
            if ((r SUBSEP name[i] SUBSEP name[k]) in reach)
              for (j = 1; j <= n; j++)
                if ((r SUBSEP name[k] SUBSEP name[j]) in reach) reach[r SUBSEP name[i] SUBSEP name[j]] = 1
        for (i = 1; i <= n; i++) {
          if (!((r SUBSEP name[i] SUBSEP name[i]) in reach) || (r SUBSEP name[i]) in placed) continue
          circle = r
          for (j = 1; j <= n; j++)
            if ((r SUBSEP name[i] SUBSEP name[j]) in reach && (r SUBSEP name[j] SUBSEP name[i]) in reach) {
              placed[r SUBSEP name[j]] = 1
              circle = circle " " name[j]
            }
          print circle
        }
        delete name
      }
    }'
}

status=0
unit_dependencies=()
while IFS=: read -r file line text; do
  included=${text#*\"}
  included=${included%%\"*}
  reason=$(against_direction "$file" "$included")
  if [[ -n $reason ]]; then
    echo "$file:$line: includes $included against the rooms' direction: $reason" >&2
    status=1
  fi
  room=${file#src/}
  room=${room%%/*}
  if [[ ${included%%/*} == "$room" ]]; then
    from=$(unit_of "$file") to=$(unit_of "$included")
    [[ $from == "$to" ]] || unit_dependencies+=("$room $from $to")
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' src)

while read -r misplaced; do
  echo "$misplaced: a room's variables stand in src/context/" >&2
  status=1
done < <(find src -name '*_vars.h' -not -path 'src/context/*')

while read -r room units; do
  [[ -z $room ]] && continue
  units=$(tr ' ' '\n' <<< "$units" | sort | paste -sd ' ')
  echo "src/$room/: these units include one another in a circle: $units" >&2
  status=1
done < <(printf '%s\n' "${unit_dependencies[@]}" | circles_of_units)
exit $status

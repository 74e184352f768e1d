#!/usr/bin/env bash
# Fails on an include that crosses the layout's boundaries: the logic (app, model, view, ui,
# state) calls the runtime and never a host; the runtime knows neither the logic nor a host,
# but for the program context that a restart replaces; the exact computation's machinery
# (compute: lanes, proofs, instruction sets, precision control, workers) knows the runtime and
# itself, and the runtime does not know it; a host knows the runtime and itself.
# Only the program's main joins a host to the runtime.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed() {  # allowed <file> <included path>
  local file=$1 included=$2
  case $file in
    src/app/main.cpp) return 0 ;;
    src/app/* | src/model/* | src/view/* | src/ui/* | src/state/*)
      [[ $included != host/* ]] ;;
    src/runtime/control.cpp)
      [[ $included == runtime/* || $included == app/program.h ]] ;;
    src/runtime/*) [[ $included == runtime/* ]] ;;
    src/compute/*) [[ $included == runtime/* || $included == compute/* ]] ;;
    src/host/*) [[ $included == runtime/* || $included == host/* ]] ;;
    *) return 0 ;;
  esac
}

status=0
while IFS=: read -r file line text; do
  included=${text#*\"}
  included=${included%%\"*}
  if ! allowed "$file" "$included"; then
    echo "$file:$line: includes $included across the layout's boundaries" >&2
    status=1
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' src)
exit $status

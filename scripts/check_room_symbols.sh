#!/usr/bin/env bash
# Fails when a room's library uses a function or variable that only a room above it defines:
# the symbols' side of the include direction, which the linker alone catches only where no room
# above has pulled the definition in already. Inline and template code (weak symbols) every
# room may compile for itself, so only the strong definitions above count.
# Usage: check_room_symbols.sh <nm> <library of the bottom room> ... <library of the top room>
set -euo pipefail
nm=${1:?usage: check_room_symbols.sh <nm> <room libraries, bottom first>}
shift
libraries=("$@")
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT

for ((room = 0; room < ${#libraries[@]}; room++)); do
  "$nm" -g "${libraries[room]}" 2> /dev/null > "$lists/$room.symbols"
  awk 'NF == 3 { print $3 }' "$lists/$room.symbols" | sort -u > "$lists/$room.defined"
  awk 'NF == 3 && $2 ~ /^[TDBRC]$/ { print $3 }' "$lists/$room.symbols" | sort -u > "$lists/$room.strong"
  awk 'NF == 2 && $1 == "U" { print $2 }' "$lists/$room.symbols" | sort -u > "$lists/$room.used"
done

status=0
for ((room = 0; room < ${#libraries[@]}; room++)); do
  for ((lower = 0; lower <= room; lower++)); do cat "$lists/$lower.defined"; done | sort -u > "$lists/below"
  for ((higher = room + 1; higher < ${#libraries[@]}; higher++)); do cat "$lists/$higher.strong"; done | sort -u > "$lists/above"
  while read -r symbol; do
    echo "${libraries[room]##*/} uses $symbol, which only a room above it defines" >&2
    status=1
  done < <(comm -23 "$lists/$room.used" "$lists/below" | comm -12 - "$lists/above")
done
exit $status

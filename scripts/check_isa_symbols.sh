#!/usr/bin/env bash
# Fails when a file compiled for one vector instruction set (*_avx2.cpp, *_avx512.cpp) defines
# a code symbol that files of another set, or the baseline, could share: the linker keeps one
# copy of an inline function for every caller, and a copy with AVX-512 instructions would then
# run on a processor without them. Every function such a file defines must name its own set.
# Usage: check_isa_symbols.sh <build folder>
set -euo pipefail
build_dir=${1:?usage: check_isa_symbols.sh <build folder>}

status=0
checked=0
while IFS= read -r object; do
  isa=$(basename "$object" .cpp.o)
  isa=${isa##*_}
  checked=$((checked + 1))
  # Global and weak code symbols only: local ones cannot be shared.
  while IFS= read -r symbol; do
    if ! grep -qi -- "$isa" <<< "$symbol"; then
      echo "$object: $symbol is shared code compiled for $isa" >&2
      status=1
    fi
  done < <(nm -C --defined-only "$object" | awk '$2 ~ /^[TWi]$/ { $1 = ""; $2 = ""; sub(/^  /, ""); print }')
done < <(find "$build_dir" -name '*_avx2.cpp.o' -o -name '*_avx512.cpp.o')

if [ "$checked" -eq 0 ]; then
  echo "check_isa_symbols.sh: no vector kernel objects under $build_dir" >&2
  exit 1
fi
exit $status

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each for a bounded time from its seed corpus. Any crash, sanitizer report, leak or hang
# fails the run. JOBS sets the number of build jobs, every core by default.
# Usage: run_fuzzers.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$PWD
seconds=${1:-60}
build_dir=$top/build-fuzz
cmake -S . -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ -DSWARM_FUZZ=ON -DSWARM_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
targets=()
for source in tests/fuzz/*_fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build_dir" -j "${JOBS:-$(nproc)}" --target "${targets[@]}"

for target in "${targets[@]}"; do
  corpus=$(mktemp -d)
  cp -r "tests/fuzz/seeds/${target%_fuzzer}/." "$corpus/"
  work=$(mktemp -d)
  log=$build_dir/$target.log
  echo "fuzzing $target for $seconds s"
  status=0
  (cd "$work" && "$build_dir/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
     -print_final_stats=1 -artifact_prefix="$build_dir/$target-" "$corpus") > "$log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|Done)" "$log" || true
  rm -rf "$corpus" "$work"
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "$target failed; the input that failed is in $build_dir/$target-*"
    exit 1
  fi
done

#!/usr/bin/env bash
# Fuzzes every target for a bounded time (default 40 s each) from its committed corpus,
# adding new inputs to a scratch corpus in the build folder, and prints executions per target.
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-40}
scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
for target in build/fuzz/fuzz/*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  name=$(basename "$target")
  [ -d "fuzz/corpus/$name" ] || continue
  scratch=build/fuzz/scratch/$name
  mkdir -p "$scratch"
  "$target" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$scratch" "fuzz/corpus/$name" \
    >"build/fuzz/$name.log" 2>&1 || { echo "$name: FAILED, see build/fuzz/$name.log"; exit 1; }
  runs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "build/fuzz/$name.log" | grep -o '[0-9]*$')
  echo "$name: $runs executions in ${seconds}s, no crash"
done

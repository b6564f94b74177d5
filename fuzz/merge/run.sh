#!/usr/bin/env bash
# Builds the merge file fuzz target with clang and runs it for SECONDS (default 5) from the seeds.
# Usage: fuzz/merge/run.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
secs=${1:-5}
build=${2:-$root/build/fuzz-merge}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 >/dev/null
corpus=$build/corpus
mkdir -p "$corpus"
echo "fuzz_mergefile: ${secs}s"
set +e
"$build/fuzz_mergefile" -max_total_time="$secs" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/artifact-" -print_final_stats=1 "$corpus" "$here/seeds" > "$build/fuzz.log" 2>&1
status=$?
set -e
grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz.log" || true
if [ $status -ne 0 ]; then
  grep -E 'ERROR|SUMMARY|Test unit written' "$build/fuzz.log" || tail -20 "$build/fuzz.log"
  echo "fuzz_mergefile failed (log: $build/fuzz.log)"
  exit 1
fi

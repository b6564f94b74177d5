#!/usr/bin/env bash
# Builds the MIME fuzz targets with clang and runs each for SECONDS (default 5) from the seeds.
# Usage: fuzz/mime/run.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
secs=${1:-5}
build=${2:-$root/build/fuzz-mime}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 >/dev/null
for t in scanner qp base64 uudecode hdrdecode; do
  seeds=$here/seeds/lines
  [ "$t" = scanner ] && seeds=$here/seeds/scanner
  [ "$t" = hdrdecode ] && seeds=$here/seeds/headers
  corpus=$build/corpus-$t
  mkdir -p "$corpus"
  echo "fuzz_mime_$t: ${secs}s"
  set +e
  "$build/fuzz_mime_$t" -max_total_time="$secs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifact-$t-" -print_final_stats=1 "$corpus" "$seeds" > "$build/fuzz-$t.log" 2>&1
  status=$?
  set -e
  grep -E '^stat::number_of_executed_units|^Done' "$build/fuzz-$t.log" || true
  if [ $status -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|Test unit written' "$build/fuzz-$t.log" || tail -20 "$build/fuzz-$t.log"
    echo "fuzz_mime_$t failed (log: $build/fuzz-$t.log)"
    exit 1
  fi
done

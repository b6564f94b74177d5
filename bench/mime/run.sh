#!/usr/bin/env bash
# The scanner benchmark: one spool of 1,000 messages (about 150 MB), scanned in the same run by
# Python's email package, GMime, the native scanner and TERN32.dll under Wine (when a Windows
# build with TERN32.dll is given). Prints the figures; it is not a pass/fail test.
# Usage: bench/mime/run.sh [WIN64_BUILD_DIR]   (default build/win64; skipped when it has no TERN32.dll)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$root/build/bench-mime
win64=${1:-${LX_WIN64_BUILD:-$root/build/win64}}
win64=$(cd "$win64" 2>/dev/null && pwd || echo "$win64")
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 >/dev/null
spool=$build/spool.txt
[ -f "$spool" ] || /usr/bin/python3 "$here/gen_spool.py" "$spool" 1000
out=$build/out
run() {  # name, command...
  rm -rf "$out"; mkdir -p "$out"
  "$@" | tee -a "$build/results.txt"
}
: > "$build/results.txt"
echo "spool: $(du -m "$spool" | cut -f1) MB, 1000 messages"
run /usr/bin/python3 "$here/ref_python.py" "$spool" "$out"
run "$build/ref_gmime" "$spool" "$out"
run "$build/bench_scan" "$spool" "$out"
if [ -f "$win64/bin/TERN32.dll" ]; then
  x86_64-w64-mingw32-g++-posix -O2 -std=c++17 -I"$root" -o "$win64/bin/bench_scan.exe" "$here/bench_scan.cpp" -static
  winpath() { echo "Z:${1//\//\\}"; }
  rm -rf "$out"; mkdir -p "$out"
  (cd "$win64/bin" && LX_BUILD_WIN="$win64" "$root/tools/setup/winerun.sh" bench_scan.exe "$(winpath "$spool")" "$(winpath "$out")") \
    | tee -a "$build/results.txt"
else
  echo "no $win64/bin/TERN32.dll: the Wine figure is skipped"
fi
rm -rf "$out"
# Ratios against GMime.
awk '{ mbs[$1] = $4 } END {
  if (mbs["gmime"] > 0) for (k in mbs) if (k != "gmime") printf "%-18s %7.1f MB/s  %.2fx GMime\n", k, mbs[k], mbs[k] / mbs["gmime"] }' "$build/results.txt"

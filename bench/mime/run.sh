#!/usr/bin/env bash
# The scanner benchmark: one spool of 1,000 messages (about 150 MB), scanned by Python's email
# package once, then in interleaved rounds (LX_BENCH_ROUNDS, default 5) by GMime, the native
# scanner and TERN32.dll under Wine (when a Windows build with TERN32.dll is given). Prints every
# run, then each contender's median and its ratio to GMime's; it is not a pass/fail test.
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
# The output folders live in memory when they can: on disk, files created soon after a folder was
# removed get slower round by round, which would time the file system instead of the scanners.
scratch=$build
if [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=$(mktemp -d /dev/shm/lorvex-bench-mime.XXXXXX); fi
out=$scratch/out
rounds=${LX_BENCH_ROUNDS:-5}
: > "$build/results.txt"
once() {  # name, command...: one run into a fresh output folder, its line kept
  rm -rf "$out"; mkdir -p "$out"
  "$@" | tee -a "$build/results.txt"
}
echo "spool: $(du -m "$spool" | cut -f1) MB, 1000 messages; $rounds interleaved rounds"
once /usr/bin/python3 "$here/ref_python.py" "$spool" "$out"
wine=0
if [ -f "$win64/bin/TERN32.dll" ]; then
  x86_64-w64-mingw32-g++-posix -O2 -std=c++17 -I"$root" -o "$win64/bin/bench_scan.exe" "$here/bench_scan.cpp" -static
  x86_64-w64-mingw32-g++-posix -O2 -std=c++17 -o "$win64/bin/floor_io.exe" "$here/floor_io.cpp" -static
  winpath() { echo "Z:${1//\//\\}"; }
  wine=1
  # One wineserver for every round, started and warmed before the first: a fresh one boots the
  # prefix's services beside the scan, which would time Wine's start-up instead of the scanner.
  export WINEPREFIX=$win64/wineprefix
  wineserver -p 60 || echo "a Wine server already runs for this prefix: the run shares it" >&2
  (cd "$win64/bin" && LX_BUILD_WIN="$win64" "$root/tools/setup/winerun.sh" cmd /c exit) >/dev/null 2>&1 || true
  sleep 3
else
  echo "no $win64/bin/TERN32.dll: the Wine figure is skipped"
fi
# The floor programs write the files the scanner writes: take them from one native scan.
ref=$scratch/ref-out
rm -rf "$ref"; mkdir -p "$ref"
"$build/bench_scan" "$spool" "$ref" >/dev/null
# The contenders take turns, so a slow spell of the machine falls on all of them alike.
for ((i = 1; i <= rounds; i++)); do
  once "$build/ref_gmime" "$spool" "$out"
  once "$build/bench_scan" "$spool" "$out"
  once "$build/floor_io" "$spool" "$ref" "$out"
  if [ $wine = 1 ]; then
    for prog in bench_scan floor_io; do
      args=("$(winpath "$spool")" "$(winpath "$out")")
      [ $prog = floor_io ] && args=("$(winpath "$spool")" "$(winpath "$ref")" "$(winpath "$out")")
      rm -rf "$out"; mkdir -p "$out"
      (cd "$win64/bin" && LX_BUILD_WIN="$win64" "$root/tools/setup/winerun.sh" $prog.exe "${args[@]}") \
        | tee -a "$build/results.txt"
    done
  fi
done
rm -rf "$out" "$ref"
[ "$scratch" = "$build" ] || rmdir "$scratch"
[ $wine = 1 ] && wineserver -k 2>/dev/null || true
# Medians of the rounds (MB/s, the fourth field) and their ratios against GMime.
awk '{ n[$1]++; v[$1, n[$1]] = $4 }
  function median(k,   i, j, t, a, c) {
    c = n[k]; for (i = 1; i <= c; i++) a[i] = v[k, i]
    for (i = 2; i <= c; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return c % 2 ? a[(c + 1) / 2] : (a[c / 2] + a[c / 2 + 1]) / 2
  }
  END {
    g = median("gmime")
    for (name in n) {
      m = median(name)
      printf "%-18s median of %d: %7.1f MB/s  %.2fx GMime\n", name, n[name], m, (g ? m / g : 0)
    }
  }' "$build/results.txt" | sort

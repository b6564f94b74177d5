#!/usr/bin/env bash
# Viewer benchmark under Wine: a 1 MB message with 8 attached files opened as Open in the list
# opens it (the row read, LXVIEWER.EXE started and handed the store) until the viewer's page file
# is complete, against the bare store read of the same rows (message, To, Cc, Files) in the same
# run. ROUNDS interleaved rounds; medians compared.
# usage: run.sh WIN64_BUILD_DIR [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
rounds=${2:-7}
exe=$build/bin/viewer_bench.exe
[ -x "$exe" ] || { echo "build the benchmark first (make bench-viewer): $exe is missing" >&2; exit 1; }
state=$build/bench-viewer
install=$state/install
mkdir -p "$state"
rm -f "$state/bench.db"
bash "$root/tools/setup/install.sh" "$build" "$install" >/dev/null
cp -f "$build/bin/OdbcVant.dll" "$(dirname "$exe")/" 2>/dev/null || true
. "$root/bench/winepeers.sh"
bench_wine_state "$state"
# A display and one warm Wine server; no test servers are needed.
eval "$(bash "$root/tools/setup/xvfb.sh" "$state/xvfb")"
trap 'wineserver -k 2>/dev/null || true; [ -n "${LX_XVFB_PID:-}" ] && kill "$LX_XVFB_PID" 2>/dev/null || true' EXIT
wineserver -p 600 || echo "a Wine server already runs for this prefix: the run shares it" >&2
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1 || true

winpath() { echo "Z:${1//\//\\}"; }
catalogue=$(winpath "$install/DGROUP.VSF")
folder=$(winpath "$install")
mesgnum=$(wine "$exe" prepare "$folder" "$catalogue" | tr -d '\r')
[ -n "$mesgnum" ] || { echo "the message could not be stored" >&2; exit 1; }
timed() {  # mode: prints the program's figures (seconds first)
  local out
  out=$(wine "$exe" "$1" "$folder" "$catalogue" "$mesgnum" | tr -d '\r') ||
    { echo "$1 failed: $out" >&2; exit 1; }
  echo "$out"
}

# One open first, untimed: the first start of the viewer loads its DLLs from disk.
timed open >/dev/null
open=(); read=(); handed=(); floor=()
for _ in $(seq 1 "$rounds"); do
  figures=($(timed open))
  open+=("${figures[0]}"); handed+=("${figures[2]}")
  figures=($(timed read))
  read+=("${figures[0]}")
  figures=($(timed start))
  floor+=("${figures[0]}")
done
o=$(median "${open[@]}"); r=$(median "${read[@]}")
echo "Viewer: a 1 MB message with 8 attached files, median of $rounds interleaved rounds"
printf '  %-44s %8.4f s  (rounds: %s)\n' "Open to the complete page file" "$o" "${open[*]}"
printf '  %-44s %8.4f s\n' "Open until the launch returned (viewer idle)" "$(median "${handed[@]}")"
printf '  %-44s %8.4f s  (rounds: %s)\n' "bare store read of the same rows" "$r" "${read[*]}"
f=$(median "${floor[@]}")
printf '  %-44s %8.4f s  (rounds: %s)\n' "floor: a program started and ended under Wine" "$f" "${floor[*]}"
awk -v o="$o" -v r="$r" -v f="$f" 'BEGIN {
  printf "  ratio open / bare read: %.2f (target 3); the floor alone: %.2f\n", o / r, f / r }'

#!/usr/bin/env bash
# Print engine benchmark under Wine on the default printer (the CUPS queue of cups.sh): a 1 MB
# text paginated and drawn through the engine against a plain GDI loop, medians of 5 rounds.
# usage: run.sh WIN64_BUILD_DIR [BYTES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
exe=$build/bin/print_bench.exe
[ -x "$exe" ] || { echo "build print_bench first: cmake --build $build --target print_bench" >&2; exit 1; }
bash "$root/tools/setup/cups.sh" "$build/print-out"
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
eval "$(bash "$root/tools/setup/xvfb.sh" "$build/bench-print")"
trap '[ -n "${LX_XVFB_PID:-}" ] && kill "$LX_XVFB_PID" 2>/dev/null || true' EXIT
wine "$exe" "${2:-1048576}" | tr -d '\r'

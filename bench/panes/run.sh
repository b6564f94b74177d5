#!/usr/bin/env bash
# Message list fill benchmark under Wine on a private SQLite store: N incoming and N outgoing
# messages, the list's fill against a bare ODBC query of the same rows, in the same run.
# usage: run.sh WIN64_BUILD_DIR [N]
#        run.sh WIN64_BUILD_DIR show PNG   (both panes on a small store, captured into PNG)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
n=${2:-10000}
exe=$build/bin/panes_bench.exe
[ -x "$exe" ] || { echo "build panes_bench first: cmake --build $build --target panes_bench" >&2; exit 1; }
state=$build/bench-panes
mkdir -p "$state"
rm -f "$state/bench.db"
bash "$root/tools/setup/odbc.sh" "$state/odbc" "$state/bench.db"
export ODBCSYSINI=$state/odbc ODBCINI=$state/odbc/odbc.ini
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
eval "$(bash "$root/tools/setup/xvfb.sh" "$state/xvfb")"
trap '[ -n "${LX_XVFB_PID:-}" ] && kill "$LX_XVFB_PID" 2>/dev/null || true' EXIT
cp -f "$build/bin/OdbcVant.dll" "$(dirname "$exe")/" 2>/dev/null || true
if [ "$n" = show ]; then
  png=${3:?PNG file}
  wine "$exe" show 10 &
  sleep 7
  import -window root -display "$DISPLAY" "$png"
  wait
  exit 0
fi
wine "$exe" "$n" | tr -d '\r'

#!/usr/bin/env bash
# Creates the Wine prefix inside the build tree (once).
# usage: wineprefix.sh PREFIX
set -euo pipefail
export WINEPREFIX=$1
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "Wine prefix could not be created in $WINEPREFIX" >&2; exit 1; }

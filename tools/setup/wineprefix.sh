#!/usr/bin/env bash
# Creates the Wine prefix inside the build tree (once).
# usage: wineprefix.sh PREFIX
set -euo pipefail
export WINEPREFIX=$(mkdir -p "$1" && cd "$1" && pwd) # Wine takes absolute prefixes only
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "Wine prefix could not be created in $WINEPREFIX" >&2; exit 1; }
# Wine has no HTML engine here: the prefix itself keeps mshtml off (not only the environment of
# the runs that set WINEDLLOVERRIDES), so Wine's download prompt for it never appears.
if ! grep -q '^"mshtml"=""' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v mshtml /t REG_SZ /d "" /f >/dev/null 2>&1 || true
  wineserver -w || true
  grep -q '^"mshtml"=""' "$WINEPREFIX/user.reg" ||
    { echo "The mshtml override could not be set in $WINEPREFIX" >&2; exit 1; }
fi

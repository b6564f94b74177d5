#!/usr/bin/env bash
# Starts Lorvex under Wine on the installation folder.
# usage: run.sh WIN_BUILD INSTALL_DIR BUILD
#   WIN_BUILD    the Windows build (its wineprefix/ is the Wine prefix, made by `make wineprefix`)
#   INSTALL_DIR  the installation folder (made by `make install`), holding the store Lorvex.db
#   BUILD        the build root (Xvfb state goes into BUILD/xvfb)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_win=$(cd "$1" && pwd)
install_dir=$(cd "$2" && pwd)
build_root=$(mkdir -p "$3" && cd "$3" && pwd)
shift 3  # anything after the three folders is handed to Lorvex as its command line

# LX_WINEPREFIX: another prefix (the demo keeps one of its own, apart from the tests').
export WINEPREFIX=${LX_WINEPREFIX:-$build_win/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
# Made when missing; an existing prefix gains the settings it lacks (the mshtml override).
bash "$here/wineprefix.sh" "$WINEPREFIX"

# The store of this installation; unixODBC reads these before Wine starts. An existing
# configuration is kept: it may point the data source at another engine (see README).
[ -f "$install_dir/odbc/odbc.ini" ] || bash "$here/odbc.sh" "$install_dir/odbc" "$install_dir/Lorvex.db"
export ODBCSYSINI=$install_dir/odbc
export ODBCINI=$install_dir/odbc/odbc.ini

# A display: the current one, or a private Xvfb that ends with this script.
eval "$(bash "$here/xvfb.sh" "$build_root/xvfb")"
bash "$here/winewm.sh"
cleanup() {
  if [ -n "${LX_XVFB_PID:-}" ]; then kill "$LX_XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT

winpath=$(winepath -w "$install_dir" 2>/dev/null)
wine reg add 'HKCU\Software\Quorbit\Lorvex' /v InstallPath /t REG_SZ /d "$winpath" /f >/dev/null 2>&1

echo "Lorvex: installation $install_dir ($winpath), display $DISPLAY"
echo "Screenshot from another shell:  import -window root -display $DISPLAY shot.png"
cd "$install_dir"
wine "$install_dir/Lorvex.exe" "$@" || true
wineserver -w 2>/dev/null || true

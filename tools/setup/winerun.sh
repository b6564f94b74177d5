#!/usr/bin/env bash
# Runs a Windows program of the build under Wine with the project's prefix, ODBC configuration
# and display. ctest uses it as the cross-compiling emulator.
here=$(cd "$(dirname "$0")" && pwd)
: "${LX_BUILD_WIN:?LX_BUILD_WIN must name the Windows build folder}"
export WINEPREFIX=${WINEPREFIX:-$LX_BUILD_WIN/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export ODBCSYSINI=${ODBCSYSINI:-$LX_BUILD_WIN/odbc}
export ODBCINI=${ODBCINI:-$LX_BUILD_WIN/odbc/odbc.ini}
exec wine "$@"

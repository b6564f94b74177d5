#!/usr/bin/env bash
# Tells Wine whether the display has a window manager. Without one (a private Xvfb) Wine waits up
# to two seconds for a manager's answer at every window it hides or destroys, so its windows are
# left unmanaged there; on a desktop the window manager keeps managing them.
# usage: winewm.sh   (with DISPLAY and WINEPREFIX set)
set -uo pipefail
managed=N
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && managed=Y
grep -q "^\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg" 2>/dev/null && exit 0
WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f \
  >/dev/null 2>&1 || true

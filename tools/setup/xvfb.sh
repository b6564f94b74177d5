#!/usr/bin/env bash
# Prints a DISPLAY to use: the current one, or a fresh Xvfb started in the background.
# usage: eval "$(xvfb.sh STATE_DIR)"   (sets DISPLAY, and LX_XVFB_PID when it started one)
set -euo pipefail
state=$1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "export DISPLAY=$DISPLAY"; exit 0
fi
mkdir -p "$state"
for n in $(seq 91 140); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 50); do
    if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
      echo "export DISPLAY=:$n LX_XVFB_PID=$pid"; exit 0
    fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  kill $pid 2>/dev/null || true
done
echo "Xvfb could not be started" >&2; exit 1

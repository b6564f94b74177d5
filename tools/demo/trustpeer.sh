#!/usr/bin/env bash
# The test server for the demo's certificate set-up: the demo's certificates made for 127.0.0.46
# (democerts.py), the authority made trusted in a Wine prefix the way the demo trusts it, and an
# OpenSSL echo server (each line comes back reversed) with that certificate on 127.0.0.46:10465.
# stop ends the server and takes the authority out of the prefix again.
# usage: trustpeer.sh start|stop STATE_DIR WINEPREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
export WINEPREFIX=$3 WINEDEBUG=-all
. "$here/../testpeers/servers.sh"
. "$here/demotls.sh"
address=127.0.0.46

stop_all() {
  stop_pid "$state/echo.pid"
  if [ -f "$state/certs/ca.pem" ]; then
    wine reg delete "$lx_demo_roots\\$(thumbprint "$state/certs/ca.pem")" /f >/dev/null 2>&1 || true
  fi
}

case "$cmd" in
  start)
    stop_all
    ports_free '^127\\.0\\.0\\.46:10465$' "stop what holds it and start again" || exit 1
    rm -rf "$state/certs"
    demo_certs "$state/certs" "$address"
    setsid openssl s_server -quiet -rev -accept "$address:10465" -naccept 100 \
      -cert "$state/certs/server.pem" -key "$state/certs/server.key" </dev/null \
      >"$state/echo.log" 2>&1 &
    echo $! >"$state/echo.pid"
    wait_port "$address" 10465
    ;;
  stop) stop_all ;;
  *)
    echo "usage: $0 start|stop STATE_DIR WINEPREFIX" >&2
    exit 2
    ;;
esac

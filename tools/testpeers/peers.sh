#!/usr/bin/env bash
# Starts or stops the test servers of the network library, each on a loopback address of its own
# at the protocol's port:
#   127.0.0.2:110   Dovecot POP3 (user joe, password "secret", APOP enabled; maildir STATE/mail/joe)
#   127.0.0.3:25    aiosmtpd storing every message in STATE/smtp
#   127.0.0.10-19   scripted servers (scripted.py) for what real servers do not do
# usage: peers.sh start|stop STATE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
. "$here/servers.sh"

stop_all() {
  stop_smtpsink "$state"
  stop_pid "$state/scripted.pid"
  stop_dovecot "$state"
}

case "$cmd" in
  start)
    stop_all
    # A system-wide Dovecot started by its package would hold port 110 on every address.
    if [ -f /run/dovecot/master.pid ]; then
      kill "$(cat /run/dovecot/master.pid)" 2>/dev/null || true
      sleep 1
    fi
    ports_free '^127\\.0\\.0\\.([23]|1[0-9]):(25|106|110)$' \
      "stop those servers (tools/testpeers/peers.sh stop THEIR_STATE_DIR) and start again" || exit 1
    rm -rf "$state/smtp" "$state/scripted"
    mkdir -p "$state/smtp" "$state/scripted"
    start_dovecot "$state" 127.0.0.2 lx-netlib-pop3 joe secret || exit 1
    start_smtpsink "$state" 127.0.0.3 25 "$state/smtp"
    setsid "$lx_servers_py" "$here/scripted.py" "$state/scripted" </dev/null > "$state/scripted.log" 2>&1 &
    echo $! > "$state/scripted.pid"
    wait_port 127.0.0.2 110
    wait_port 127.0.0.3 25
    wait_port 127.0.0.19 106
    ;;
  stop)
    stop_all
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac

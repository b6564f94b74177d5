#!/usr/bin/env bash
# Starts or stops the fault servers (faultpeer.py) in front of the test servers of peers.sh:
#   127.0.0.50:110  POP3 proxy to Dovecot (127.0.0.2:110) that cuts or stalls a RETR reply
#   127.0.0.51:25   SMTP server that closes the connection after the second message's data
# usage: faultpeers.sh start|stop STATE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
. "$here/servers.sh"

case "$cmd" in
  start)
    stop_pid "$state/faultpeer.pid"
    ports_free '^127\\.0\\.0\\.5[01]:(25|110)$' \
      "stop those servers (tools/testpeers/faultpeers.sh stop THEIR_STATE_DIR) and start again" || exit 1
    rm -f "$state"/pop3-fault "$state"/smtp-*.eml "$state"/report.txt
    setsid "$lx_servers_py" "$here/faultpeer.py" "$state" </dev/null > "$state/faultpeer.log" 2>&1 &
    echo $! > "$state/faultpeer.pid"
    wait_port 127.0.0.50 110
    wait_port 127.0.0.51 25
    ;;
  stop)
    stop_pid "$state/faultpeer.pid"
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac

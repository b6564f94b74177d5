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
py=/usr/bin/python3   # the distribution's python, which has aiosmtpd

# A process that has exited but not yet been reaped (a zombie) counts as gone.
alive() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

stop_pid() {
  local f=$1
  [ -f "$f" ] || return 0
  local pid
  pid=$(cat "$f")
  if alive "$pid"; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do alive "$pid" || break; sleep 0.05; done
    alive "$pid" && kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$f"
}

stop_all() {
  stop_pid "$state/smtpsink.pid"
  stop_pid "$state/scripted.pid"
  stop_pid "$state/dovecot/run/master.pid"
}

wait_port() {
  local addr=$1 port=$2
  for _ in $(seq 1 100); do
    if (exec 3<>"/dev/tcp/$addr/$port") 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  echo "server on $addr:$port did not start" >&2
  return 1
}

# Fails with the holder's name when another program already listens on one of the peers' ports
# (another tree's test servers, for instance), instead of letting a server die on its bind.
ports_free() {
  command -v ss >/dev/null || return 0
  local held
  held=$(ss -Hltnp 2>/dev/null | awk '$4 ~ /^127\.0\.0\.([23]|1[0-9]):(25|106|110)$/ { print "  " $4 " held by " $6 }')
  [ -z "$held" ] && return 0
  echo "the test servers' ports are in use:" >&2
  echo "$held" >&2
  echo "stop those servers (tools/testpeers/peers.sh stop THEIR_STATE_DIR) and start again" >&2
  return 1
}

case "$cmd" in
  start)
    stop_all
    # A system-wide Dovecot started by its package would hold port 110 on every address.
    if [ -f /run/dovecot/master.pid ]; then
      kill "$(cat /run/dovecot/master.pid)" 2>/dev/null || true
      sleep 1
    fi
    command -v dovecot >/dev/null || { echo "dovecot is not installed (tools/setup/deps.sh)" >&2; exit 1; }
    ports_free || exit 1
    rm -rf "$state/dovecot" "$state/smtp" "$state/scripted"
    mkdir -p "$state/dovecot/run" "$state/dovecot/state" "$state/mail/joe" "$state/smtp" "$state/scripted"
    sed -e "s|@STATE@|$state|g" -e "s|@POP3_ADDR@|127.0.0.2|g" "$here/dovecot.conf.in" > "$state/dovecot/dovecot.conf"
    # Dovecot refuses to give mail access as root: the mailbox is nobody's, and its folders are
    # open to the tests (running as any user) that put messages into them.
    uid=$(id -u nobody) gid=$(id -g nobody)
    echo "joe:{PLAIN}secret:$uid:$gid::$state/mail/joe::" > "$state/dovecot/users"
    mkdir -p "$state/mail/joe/cur" "$state/mail/joe/new" "$state/mail/joe/tmp"
    chmod 0777 "$state/mail" "$state/mail/joe" "$state/mail/joe/cur" "$state/mail/joe/new" "$state/mail/joe/tmp"
    chmod 755 "$state" "$state/dovecot"
    if ! dovecot -c "$state/dovecot/dovecot.conf" </dev/null >>"$state/dovecot/start.log" 2>&1; then
      echo "dovecot did not start:" >&2
      tail -n 5 "$state/dovecot/start.log" >&2
      exit 1
    fi
    setsid "$py" "$here/smtpsink.py" 127.0.0.3 25 "$state/smtp" </dev/null > "$state/smtpsink.log" 2>&1 &
    echo $! > "$state/smtpsink.pid"
    setsid "$py" "$here/scripted.py" "$state/scripted" </dev/null > "$state/scripted.log" 2>&1 &
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

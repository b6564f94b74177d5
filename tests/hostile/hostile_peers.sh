#!/usr/bin/env bash
# The hostile-mail test's server: a Dovecot of its own on 127.0.0.61:110 (user joe, password
# "secret") whose mailbox holds the hostile corpus (hostile_corpus.py), made afresh at every start.
# usage: hostile_peers.sh start|stop STATE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cmd=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
. "$root/tools/testpeers/servers.sh"

case "$cmd" in
  start)
    stop_dovecot "$state"
    ports_free '^127\\.0\\.0\\.61:110$' "stop it (hostile_peers.sh stop THEIR_STATE_DIR)" || exit 1
    start_dovecot "$state" 127.0.0.61 lx-hostile-pop3 joe secret
    /usr/bin/python3 "$here/hostile_corpus.py" "$state/mail/joe"
    wait_port 127.0.0.61 110
    ;;
  stop)
    stop_dovecot "$state"
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac

# Shell pieces shared by the test servers (peers.sh) and the demo (tools/demo/demo.sh): a private
# Dovecot POP3 server and the aiosmtpd sink, each on a loopback address of its own.
# Source this file; it only defines functions.
lx_servers_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lx_servers_py=/usr/bin/python3 # the distribution's python, which has aiosmtpd

# A process that has exited but not yet been reaped (a zombie) counts as gone.
alive() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

# stop_pid PIDFILE: ends the process named in the file (politely, then for sure) and removes it.
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

# wait_port ADDRESS PORT: waits (bounded) until something accepts connections there.
wait_port() {
  local addr=$1 port=$2
  for _ in $(seq 1 100); do
    if (exec 3<>"/dev/tcp/$addr/$port") 2>/dev/null; then return 0; fi
    sleep 0.1
  done
  echo "server on $addr:$port did not start" >&2
  return 1
}

# ports_free PATTERN HINT: fails with the holders' names when a listening address:port matches
# the awk PATTERN, instead of letting a server die on its bind; HINT says how to free them.
ports_free() {
  command -v ss >/dev/null || return 0
  local held
  held=$(ss -Hltnp 2>/dev/null | awk -v p="$1" '$4 ~ p { print "  " $4 " held by " $6 }')
  [ -z "$held" ] && return 0
  echo "the servers' ports are in use:" >&2
  echo "$held" >&2
  echo "$2" >&2
  return 1
}

# start_dovecot STATE ADDRESS INSTANCE USER PASSWORD [EXTRA]: Dovecot POP3 on ADDRESS:110 with
# APOP, one user whose maildir is STATE/mail/USER. Nothing of the system's configuration is read.
# EXTRA, a configuration template like dovecot.conf.in, adds to it (TLS, for instance).
start_dovecot() {
  local state=$1 addr=$2 instance=$3 user=$4 password=$5 extra=${6:-}
  command -v dovecot >/dev/null || { echo "dovecot is not installed (tools/setup/deps.sh)" >&2; return 1; }
  rm -rf "$state/dovecot"
  mkdir -p "$state/dovecot/run" "$state/dovecot/state" "$state/mail/$user"
  local template
  for template in "$lx_servers_dir/dovecot.conf.in" $extra; do
    sed -e "s|@STATE@|$state|g" -e "s|@POP3_ADDR@|$addr|g" -e "s|@INSTANCE@|$instance|g" \
      "$template"
  done > "$state/dovecot/dovecot.conf"
  # Dovecot refuses to give mail access as root: the mailbox is nobody's, and its folders are
  # open to whoever (running as any user) puts messages into them.
  local uid gid box=$state/mail/$user
  uid=$(id -u nobody) gid=$(id -g nobody)
  echo "$user:{PLAIN}$password:$uid:$gid::$box::" > "$state/dovecot/users"
  mkdir -p "$box/cur" "$box/new" "$box/tmp"
  chmod 0777 "$state/mail" "$box" "$box/cur" "$box/new" "$box/tmp"
  chmod 755 "$state" "$state/dovecot"
  if ! dovecot -c "$state/dovecot/dovecot.conf" </dev/null >>"$state/dovecot/start.log" 2>&1; then
    echo "dovecot did not start:" >&2
    tail -n 5 "$state/dovecot/start.log" >&2
    return 1
  fi
}

stop_dovecot() { stop_pid "$1/dovecot/run/master.pid"; }

# start_smtpsink STATE ADDRESS PORT FOLDER: aiosmtpd storing each message as FOLDER/NNNNNN.eml.
start_smtpsink() {
  local state=$1 addr=$2 port=$3 folder=$4
  setsid "$lx_servers_py" "$lx_servers_dir/smtpsink.py" "$addr" "$port" "$folder" </dev/null \
    > "$state/smtpsink.log" 2>&1 &
  echo $! > "$state/smtpsink.pid"
}

stop_smtpsink() { stop_pid "$1/smtpsink.pid"; }

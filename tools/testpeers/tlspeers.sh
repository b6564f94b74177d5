#!/usr/bin/env bash
# Starts or stops the TLS test servers: OpenSSL echo servers (each line comes back reversed) with
# certificates of a test authority made afresh at every start (tlscerts.py), one per loopback
# address at port 10465:
#   127.0.0.41  good certificate for localhost
#   127.0.0.42  expired certificate for localhost
#   127.0.0.43  certificate for mail.other.test
# and the secured mail servers, with the good certificate (user joe, password "secret"):
#   127.0.0.44:110  Dovecot POP3 with STLS, logins only once secured; :995 TLS from the first byte
#   127.0.0.45:587  aiosmtpd with STARTTLS, AUTH required once secured; mail kept in STATE/smtp;
#             :465  the same with TLS from the first byte
#   127.0.0.42:465, 127.0.0.43:465  aiosmtpd with TLS from the first byte and the expired and the
#                   other host's certificate
# usage: tlspeers.sh start|stop STATE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
. "$here/servers.sh"

servers="good:127.0.0.41 expired:127.0.0.42 othername:127.0.0.43"

stop_all() {
  for s in $servers; do stop_pid "$state/${s%%:*}.pid"; done
  stop_pid "$state/securesink.pid"
  stop_dovecot "$state"
}

case "$cmd" in
  start)
    stop_all
    ports_free '^127\\.0\\.0\\.(4[123]:10465|44:(110|995)|45:(587|465)|4[23]:465)$' \
      "stop those servers (tools/testpeers/tlspeers.sh stop THEIR_STATE_DIR) and start again" || exit 1
    rm -rf "$state"/*.pem "$state"/*.key "$state"/*.der "$state/smtp"
    mkdir -p "$state/smtp"
    "$lx_servers_py" "$here/tlscerts.py" "$state"
    start_dovecot "$state" 127.0.0.44 lx-netlib-pop3s joe secret "$here/dovecot-tls.conf.in" || exit 1
    setsid "$lx_servers_py" "$here/securesink.py" 127.0.0.45 "$state/good.pem" "$state/good.key" \
      joe secret "$state/smtp" "127.0.0.42:$state/expired.pem:$state/expired.key" \
      "127.0.0.43:$state/othername.pem:$state/othername.key" \
      </dev/null > "$state/securesink.log" 2>&1 &
    echo $! > "$state/securesink.pid"
    for s in $servers; do
      file=${s%%:*} addr=${s#*:}
      setsid openssl s_server -quiet -rev -accept "$addr:10465" -naccept 1000 \
        -cert "$state/$file.pem" -key "$state/$file.key" </dev/null >"$state/$file.log" 2>&1 &
      echo $! > "$state/$file.pid"
    done
    for s in $servers; do wait_port "${s#*:}" 10465; done
    wait_port 127.0.0.44 110
    wait_port 127.0.0.44 995
    wait_port 127.0.0.45 587
    wait_port 127.0.0.45 465
    wait_port 127.0.0.42 465
    wait_port 127.0.0.43 465
    ;;
  stop)
    stop_all
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac

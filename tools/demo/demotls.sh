# The demo's TLS pieces, sourced by demo.sh (which has set here, lx_servers_py and WINEPREFIX).

lx_demo_roots='HKCU\Software\Microsoft\SystemCertificates\Root\Certificates'

# thumbprint PEM: the SHA-1 thumbprint that names a certificate in a Windows certificate store.
thumbprint() {
  openssl x509 -in "$1" -noout -fingerprint -sha1 | sed -e 's/.*=//' -e 's/://g'
}

# demo_certs DIR ADDRESS...: the demo authority and the servers' certificate for the addresses in
# DIR, made again when missing, made for other addresses or within a week of expiring; the demo's
# Wine prefix trusts that authority, and no longer the one it replaced.
demo_certs() {
  local dir=$1
  shift
  mkdir -p "$dir"
  if [ -f "$dir/server.pem" ] && [ "$(cat "$dir/addresses" 2>/dev/null)" = "$*" ] &&
    openssl x509 -in "$dir/server.pem" -noout -checkend $((7 * 86400)) >/dev/null; then
    :
  else
    if [ -f "$dir/ca.pem" ]; then
      wine reg delete "$lx_demo_roots\\$(thumbprint "$dir/ca.pem")" /f >/dev/null 2>&1 || true
    fi
    rm -f "$dir"/*
    "$lx_servers_py" "$here/democerts.py" "$dir" "$@"
    echo "$*" >"$dir/addresses"
  fi
  wine reg import "$dir/trust.reg" >/dev/null 2>&1
}

# demo_dovecot_tls DIR STRICT: the Dovecot settings (a template for start_dovecot) for POP3 with
# STLS on port 110 and TLS from the first byte on 995, with the certificate in DIR. STRICT yes:
# no login before the connection is secured; no: clear-text logins as well.
demo_dovecot_tls() {
  local dir=$1 ssl=required plain=yes
  [ "$2" = yes ] || { ssl=yes; plain=no; }
  cat <<CONF
ssl = $ssl
ssl_cert = <$dir/server.pem
ssl_key = <$dir/server.key
disable_plaintext_auth = $plain
service pop3-login {
  inet_listener pop3s {
    address = @POP3_ADDR@
    port = 995
    ssl = yes
  }
}
CONF
}

# demo_check WIN_BUILD STATE POP3_ADDR SMTP_ADDR USER PASSWORD: the network library itself (the
# benchmark's driver) retrieves the sample mail over TLS on 995 and sends one message with
# STARTTLS and login on port 25, trusting only what the demo's prefix trusts (no pinned
# certificate). Fails unless all twelve messages come and the one message is taken.
demo_check() {
  local win=$1 state=$2 pop3=$3 smtp=$4 user=$5 password=$6 out
  local bench=$win/bin/tern_bench.exe
  [ -f "$bench" ] || { echo "no $bench: build it first (cmake --build $win --target tern_bench)" >&2; return 1; }
  "$lx_servers_py" "$root/bench/netlib/reference.py" spool "$state/CheckSmtp.Txt" 1 2000
  out=$(wine "$bench" pop3 "Z:$state/CheckPop3.Txt" "$pop3" "$user" "$password" 2 0 - | tr -d '\r') || true
  echo "POP3 over TLS, certificate checked against the trusted demo authority: ${out#* } messages in ${out%% *} s"
  [ "${out#* }" = 12 ] || return 1
  out=$(wine "$bench" smtp "Z:$state/CheckSmtp.Txt" "$smtp" 1 25 - "$user" "$password" | tr -d '\r') || true
  echo "SMTP with STARTTLS and login: ${out#* } message sent in ${out%% *} s"
  [ "${out#* }" = 1 ]
}

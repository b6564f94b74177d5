#!/usr/bin/env bash
# make demo: Lorvex with a mailbox of its own to try out. Starts a Dovecot POP3 server (APOP on)
# filled with sample mail and an aiosmtpd server that keeps what it is sent, prepares a fresh
# installation folder with that mailbox configured and one message queued in _OUT, then runs
# Lorvex under Wine. Everything it started stops when Lorvex exits.
#
# By default the servers speak TLS: the demo makes an authority of its own and a certificate for
# the servers' addresses, the demo's Wine prefix trusts that authority, and the mailbox asks for
# POP3 over TLS (995) and SMTP with STARTTLS and login (port 25). DEMO_TLS=0 runs the servers
# and the mailbox in clear text as before. A Lorvex that does not yet secure its connections
# (its program imports no TERNPOP3SetSecurity) finds servers that take clear text too.
#
# It keeps out of the way of the tests: its own loopback addresses (the test servers use
# 127.0.0.2-19), its own installation folder, Wine prefix and display, all under BUILD/demo.
# usage: demo.sh NATIVE_BUILD WIN_BUILD BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
native=$(cd "$1" && pwd)
win=$(cd "$2" && pwd)
demo=$(mkdir -p "$3/demo" && cd "$3/demo" && pwd)
install=$demo/install
servers=$demo/servers
pop3_addr=127.0.0.40
smtp_addr=127.0.0.41
user=newcomer
password=lorvex
tls=${DEMO_TLS:-1}
certs=$demo/certs

. "$root/tools/testpeers/servers.sh"
. "$here/demotls.sh"
export WINEPREFIX=$demo/wineprefix WINEDEBUG=${WINEDEBUG:--all}

finish() {
  stop_smtpsink "$servers"
  stop_pid "$servers/securesink.pid"
  stop_dovecot "$servers"
  # Whatever of Lorvex is left in the demo's own Wine prefix (never the tests' prefix).
  wineserver -k 2>/dev/null || true
}
trap finish EXIT
finish # what a demo that was killed may have left running

ports_free '^(127\\.0\\.0\\.40:(110|995)|127\\.0\\.0\\.41:25|(0\\.0\\.0\\.0|\\*|\\[::\\]):(25|110|995))$' \
  "the demo needs $pop3_addr:110, $pop3_addr:995 and $smtp_addr:25; stop what holds them and run make demo again" \
  || exit 1

# DEMO_CHECK=1: instead of preparing and starting Lorvex, check that the network library reaches
# the servers the way the mailbox asks for, with the servers insisting on it.
check=${DEMO_CHECK:-0}
[ "$check" = 0 ] || [ "$tls" != 0 ] || { echo "DEMO_CHECK needs the TLS demo" >&2; exit 2; }

# Whether the servers insist on TLS: only when the program secures its connections.
strict=yes
[ "$check" != 0 ] || grep -q TERNPOP3SetSecurity "$win/bin/Lorvex.exe" || strict=no

# A fresh try-out each time: a new store, mailbox file, filters and log; the program's files are
# copied again only when they changed.
prepare_installation() {
  bash "$root/tools/setup/install.sh" "$win" "$install" >/dev/null
  rm -f "$install/Lorvex.db" "$install/MAILBOXX.STP" "$install/LORVEX.FLT" "$install/Lorvex.Log" \
  "$install/AUTODIAL.STP"
  bash "$root/tools/setup/store.sh" "$install/Lorvex.db" >/dev/null
  bash "$root/tools/setup/odbc.sh" "$install/odbc" "$install/Lorvex.db"
  security=()
  [ "$tls" = 0 ] || security=(2 0 1 25) # POP3 over TLS on 995, SMTP with STARTTLS on 25
  ODBCSYSINI=$install/odbc ODBCINI=$install/odbc/odbc.ini \
    "$native/tools/demo/lxdemosetup" "$install" "$demo/mailbox.reg" \
    "$pop3_addr" "$smtp_addr" "$user" "$password" "${security[@]}"

  # Something to attach in the composer.
  mkdir -p "$install/Samples"
  printf 'Agenda for the Lorvex demo\r\n\r\n1. Retrieve the sample mail\r\n2. Write a message with an attachment and a signature\r\n3. Check its spelling and send it\r\n' \
    >"$install/Samples/Agenda.txt"
  # Addresses to import (one with an apostrophe, one with quotes and a comma in its note) and a
  # letter for the mail merge.
  printf 'Name,Email Address,Notes\r\n"Grace Hopper","grace@navy.example","Compilers"\r\n"Linus O'"'"'Connor","linus@kernel.example","Says ""hi"", often"\r\n"Margaret Hamilton","margaret@apollo.example","Flight software"\r\n' \
    >"$install/Samples/Contacts.csv"
  printf 'Dear pioneer,\r\n\r\nyou are invited to the Lorvex launch on Friday at 10 in Room 4.\r\nThe agenda is attached.\r\n\r\nAda\r\n' \
    >"$install/Samples/Invitation.txt"
}
[ "$check" != 0 ] || prepare_installation


rm -rf "$servers"
mkdir -p "$servers/smtp"
bash "$root/tools/setup/wineprefix.sh" "$WINEPREFIX"
if [ "$tls" = 0 ]; then
  start_dovecot "$servers" "$pop3_addr" lx-demo-pop3 "$user" "$password"
  start_smtpsink "$servers" "$smtp_addr" 25 "$servers/smtp"
else
  demo_certs "$certs" "$pop3_addr" "$smtp_addr"
  demo_dovecot_tls "$certs" "$strict" >"$demo/dovecot-tls.conf.in"
  start_dovecot "$servers" "$pop3_addr" lx-demo-pop3 "$user" "$password" "$demo/dovecot-tls.conf.in"
  clear=clear-too
  [ "$strict" = yes ] && clear=strict
  setsid "$lx_servers_py" "$root/tools/testpeers/securesink.py" "$smtp_addr" "$certs/server.pem" \
    "$certs/server.key" "$user" "$password" "$servers/smtp" 25 "$clear" </dev/null \
    >"$servers/securesink.log" 2>&1 &
  echo $! >"$servers/securesink.pid"
  wait_port "$pop3_addr" 995
fi
"$lx_servers_py" "$here/samples.py" "$servers/mail/$user/new"
wait_port "$pop3_addr" 110
wait_port "$smtp_addr" 25

if [ "$check" != 0 ]; then
  eval "$(bash "$root/tools/setup/xvfb.sh" "$demo/xvfb")"
  status=0
  demo_check "$win" "$demo" "$pop3_addr" "$smtp_addr" "$user" "$password" || status=1
  wineserver -k 2>/dev/null || true # before its display goes
  [ -z "${LX_XVFB_PID:-}" ] || kill "$LX_XVFB_PID" 2>/dev/null || true
  exit $status
fi
wine reg import "$demo/mailbox.reg" >/dev/null 2>&1
# That Wine session started without the display Lorvex gets: let it end before Lorvex starts,
# or Lorvex joins it and finds no display to draw on.
wineserver -w

if [ "$tls" = 0 ]; then
  pop3_line="POP3  $pop3_addr:110  user $user, password $password, APOP, clear text"
  smtp_line="SMTP  $smtp_addr:25   clear text"
else
  pop3_line="POP3  $pop3_addr:995  TLS (STLS on 110 too), user $user, password $password, APOP"
  smtp_line="SMTP  $smtp_addr:25   STARTTLS, then login as $user"
  trust="  Certificates by the demo's own authority ($certs/ca.pem), trusted in the demo's Wine prefix"
  [ "$strict" = yes ] || trust+=$'\n'"  This Lorvex does not secure its connections yet: the servers take clear text too"
fi

cat <<TEXT

Lorvex demo: mailbox "Demo" (you@lorvex.example)
  $pop3_line   (12 sample messages)
  $smtp_line; every message sent lands in $servers/smtp
${trust:-}
  Try:  Mail > Retrieve Mail, Mail > Send Mail, Setup > Filter Manager
        Setup > Signature File, then Message > Prepare New Message: Address Book (a few entries
        and the list "Lorvex team"), attach Samples\\Agenda.txt from the installation
        folder, Spell Check, Send Now
        Addresses > Address Book > Import From ASCII File: Samples\\Contacts.csv; then
        Addresses > Mailing Lists: Add a list, Create Merge File; Mail > Mail Merge with it,
        Samples\\Invitation.txt as the message
        Setup > Dialer Setup: 1 minute, Send Mail At The Same Time, Use Local Network, mailbox
        Demo; mail then goes and comes every minute without a click (the log: Lorvex.Log)
  Closing Lorvex stops the servers.

TEXT
LX_WINEPREFIX=$WINEPREFIX bash "$root/tools/setup/run.sh" "$win" "$install" "$demo"

#!/usr/bin/env bash
# make demo: Lorvex with a mailbox of its own to try out. Starts a Dovecot POP3 server (APOP on)
# filled with sample mail and an aiosmtpd server that keeps what it is sent, prepares a fresh
# installation folder with that mailbox configured and one message queued in _OUT, then runs
# Lorvex under Wine. Everything it started stops when Lorvex exits.
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

. "$root/tools/testpeers/servers.sh"
export WINEPREFIX=$demo/wineprefix WINEDEBUG=${WINEDEBUG:--all}

finish() {
  stop_smtpsink "$servers"
  stop_dovecot "$servers"
  # Whatever of Lorvex is left in the demo's own Wine prefix (never the tests' prefix).
  wineserver -k 2>/dev/null || true
}
trap finish EXIT
finish # what a demo that was killed may have left running

ports_free '^(127\\.0\\.0\\.40:110|127\\.0\\.0\\.41:25|(0\\.0\\.0\\.0|\\*|\\[::\\]):(25|110))$' \
  "the demo needs $pop3_addr:110 and $smtp_addr:25; stop what holds them and run make demo again" \
  || exit 1

# A fresh try-out each time: a new store, mailbox file, filters and log; the program's files are
# copied again only when they changed.
bash "$root/tools/setup/install.sh" "$win" "$install" >/dev/null
rm -f "$install/Lorvex.db" "$install/MAILBOXX.STP" "$install/LORVEX.FLT" "$install/Lorvex.Log"
bash "$root/tools/setup/store.sh" "$install/Lorvex.db" >/dev/null
bash "$root/tools/setup/odbc.sh" "$install/odbc" "$install/Lorvex.db"
ODBCSYSINI=$install/odbc ODBCINI=$install/odbc/odbc.ini \
  "$native/tools/demo/lxdemosetup" "$install" "$demo/mailbox.reg" \
  "$pop3_addr" "$smtp_addr" "$user" "$password"

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

rm -rf "$servers"
mkdir -p "$servers/smtp"
start_dovecot "$servers" "$pop3_addr" lx-demo-pop3 "$user" "$password"
"$lx_servers_py" "$here/samples.py" "$servers/mail/$user/new"
start_smtpsink "$servers" "$smtp_addr" 25 "$servers/smtp"
wait_port "$pop3_addr" 110
wait_port "$smtp_addr" 25

bash "$root/tools/setup/wineprefix.sh" "$WINEPREFIX"
wine reg import "$demo/mailbox.reg" >/dev/null 2>&1
# That Wine session started without the display Lorvex gets: let it end before Lorvex starts,
# or Lorvex joins it and finds no display to draw on.
wineserver -w

cat <<TEXT

Lorvex demo: mailbox "Demo" (you@lorvex.example)
  POP3  $pop3_addr:110  user $user, password $password, APOP   (12 sample messages)
  SMTP  $smtp_addr:25   every message sent lands in $servers/smtp
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

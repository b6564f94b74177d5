#!/usr/bin/env bash
# Network benchmark: TERN32 (under Wine) against Python's poplib and smtplib on the same servers,
# in the same run: 1,000 messages of about 20 KB retrieved from Dovecot (APOP, UIDL, RETR) and
# sent to aiosmtpd over one session. Two further references tell the platform's share from the
# library's: a plain blocking Winsock client doing the same commands under the same Wine (no
# windows, no messages, no host notifications), and the library's own sessions run natively
# over POSIX sockets. Then the same secured, against the TLS test servers: POP3 with TLS from the
# first byte (995) against poplib.POP3_SSL, SMTP with STARTTLS and AUTH (587) against smtplib,
# with the blocking client secured through the same Schannel as the platform's floor.
# Each contender runs ROUNDS times, interleaved; the medians are compared.
# usage: run.sh WIN64_BUILD_DIR NATIVE_BUILD_DIR [COUNT] [SIZE] [ROUNDS]
# BENCH_NET_PARTS="clear tls" (the default) chooses the tables.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
count=${3:-1000}
size=${4:-20000}
rounds=${5:-3}
py=/usr/bin/python3
state=$build/bench-netlib
peers=$state/peers
tern=$build/bin/tern_bench.exe
floor=$build/bin/floor_client.exe
nat=$native/bench/netlib/native_bench
for f in "$tern" "$floor" "$nat"; do
  [ -x "$f" ] || { echo "build the benchmark first (make bench-net): $f is missing" >&2; exit 1; }
done
mkdir -p "$state"

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Hidden windows need a display under Wine: use the current one or a private Xvfb.
. "$root/bench/winepeers.sh"
parts=${BENCH_NET_PARTS:-clear tls}
case " $parts " in *" clear "*) bench_wine_peers "$state" ;; *) bench_wine_peers "$state" none ;; esac
peers=$bench_peers
tlspeers=$state/tlspeers
case " $parts " in *" tls "*) bash "$root/tools/testpeers/tlspeers.sh" start "$tlspeers" ;; esac
trap 'bash "$root/tools/testpeers/tlspeers.sh" stop "$tlspeers" >/dev/null 2>&1 || true; bench_cleanup' EXIT
wine cmd /c exit >/dev/null 2>&1 || true

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Runs one contender; its "<seconds> <messages>" must name every message.
timed() {
  local out
  out=$("$@" | tr -d '\r')
  [ "${out#* }" = "$count" ] || { echo "run did not complete: $* -> $out" >&2; exit 1; }
  echo "${out%% *}"
}
fill() { "$py" "$here/reference.py" fill "$peers/mail/joe" "$count" "$size"; }
report() {  # label seconds reference
  printf '  %-34s %6.3f s   ratio to python %s\n' "$1" "$2" "$(ratio "$2" "$3")"
}
compare() {  # python tern floor native
  report "TERN32 under Wine" "$2" "$1"
  report "blocking Winsock client, Wine" "$3" "$1"
  report "TERN32 sessions natively (POSIX)" "$4" "$1"
  echo "  TERN32 against the blocking client under the same Wine: ratio $(ratio "$2" "$3")"
}

tls_compare() {  # python tern floor
  report "TERN32 under Wine" "$2" "$1"
  report "blocking Schannel client, Wine" "$3" "$1"
  echo "  TERN32 against the blocking client under the same Wine: ratio $(ratio "$2" "$3")"
}

clear_tables() {
  py_pop=(); tern_pop=(); floor_pop=(); nat_pop=()
  for _ in $(seq 1 "$rounds"); do
    fill; py_pop+=("$(timed "$py" "$here/reference.py" pop3 127.0.0.2 joe secret "$state/py-pop3.txt")")
    fill; tern_pop+=("$(timed wine "$tern" pop3 "Z:$state/TernPop3.Txt" 127.0.0.2 joe secret)")
    fill; floor_pop+=("$(timed wine "$floor" pop3 "Z:$state/FloorPop3.Txt" 127.0.0.2 joe secret)")
    fill; nat_pop+=("$(timed "$nat" pop3 "$state/NativePop3.Txt" 127.0.0.2 joe secret)")
  done
  same=no
  cmp -s "$state/TernPop3.Txt" "$state/NativePop3.Txt" && cmp -s "$state/TernPop3.Txt" "$state/FloorPop3.Txt" && same=yes
  p=$(median "${py_pop[@]}")
  echo "POP3: $count messages of about $size bytes (APOP, UIDL, RETR each), median of $rounds rounds"
  printf '  %-34s %6.3f s   (rounds: %s)\n' "python poplib" "$p" "${py_pop[*]}"
  compare "$p" "$(median "${tern_pop[@]}")" "$(median "${floor_pop[@]}")" "$(median "${nat_pop[@]}")"
  echo "  spool files of the three identical: $same"

  "$py" "$here/reference.py" spool "$state/TernSmtp.Txt" "$count" "$size"
  py_smtp=(); tern_smtp=(); floor_smtp=(); nat_smtp=()
  for _ in $(seq 1 "$rounds"); do
    py_smtp+=("$(timed "$py" "$here/reference.py" smtp 127.0.0.3 "$state/TernSmtp.Txt")")
    tern_smtp+=("$(timed wine "$tern" smtp "Z:$state/TernSmtp.Txt" 127.0.0.3)")
    floor_smtp+=("$(timed wine "$floor" smtp "Z:$state/TernSmtp.Txt" 127.0.0.3)")
    nat_smtp+=("$(timed "$nat" smtp "$state/TernSmtp.Txt" 127.0.0.3)")
  done
  s=$(median "${py_smtp[@]}")
  echo "SMTP: $count messages of about $size bytes over one session, median of $rounds rounds"
  printf '  %-34s %6.3f s   (rounds: %s)\n' "python smtplib" "$s" "${py_smtp[*]}"
  compare "$s" "$(median "${tern_smtp[@]}")" "$(median "${floor_smtp[@]}")" "$(median "${nat_smtp[@]}")"
}

# The secured sessions: TERN32 checks the servers' certificate by its pinned fingerprint, Python
# against the test authority.
tls_tables() {
  local pin; pin=$(sha256sum "$tlspeers/good.der" | cut -c1-64)
  local ca=$tlspeers/ca.pem
  tls_fill() { "$py" "$here/reference.py" fill "$tlspeers/mail/joe" "$count" "$size"; }
  py_pops=(); tern_pops=(); floor_pops=()
  for _ in $(seq 1 "$rounds"); do
    tls_fill; py_pops+=("$(timed "$py" "$here/reference.py" pop3s 127.0.0.44 joe secret "$state/py-pop3s.txt" "$ca")")
    tls_fill; tern_pops+=("$(timed wine "$tern" pop3 "Z:$state/TernPop3s.Txt" 127.0.0.44 joe secret 2 0 "$pin")")
    tls_fill; floor_pops+=("$(timed wine "$floor" pop3 "Z:$state/FloorPop3s.Txt" 127.0.0.44 joe secret 2 0 "$pin")")
  done
  same="not compared (no clear-text run)"
  if [ "${clear_ran:-}" = yes ]; then
    same=no
    cmp -s "$state/TernPop3s.Txt" "$state/TernPop3.Txt" && same=yes
  fi
  p=$(median "${py_pops[@]}")
  echo "POP3 over TLS (995): $count messages of about $size bytes (APOP, UIDL, RETR each), median of $rounds rounds"
  printf '  %-34s %6.3f s   (rounds: %s)\n' "python poplib.POP3_SSL" "$p" "${py_pops[*]}"
  tls_compare "$p" "$(median "${tern_pops[@]}")" "$(median "${floor_pops[@]}")"
  echo "  (TERN32 rounds: ${tern_pops[*]}); spool file the same as in clear text: $same"

  "$py" "$here/reference.py" spool "$state/TernSmtp.Txt" "$count" "$size"
  py_smtps=(); tern_smtps=(); floor_smtps=()
  for _ in $(seq 1 "$rounds"); do
    rm -f "$tlspeers"/smtp/*
    py_smtps+=("$(timed "$py" "$here/reference.py" smtps 127.0.0.45 "$state/TernSmtp.Txt" joe secret "$ca")")
    rm -f "$tlspeers"/smtp/*
    tern_smtps+=("$(timed wine "$tern" smtp "Z:$state/TernSmtp.Txt" 127.0.0.45 1 0 "$pin" joe secret)")
    rm -f "$tlspeers"/smtp/*
    floor_smtps+=("$(timed wine "$floor" smtp "Z:$state/TernSmtp.Txt" 127.0.0.45 1 0 "$pin" joe secret)")
  done
  rm -f "$tlspeers"/smtp/*
  s=$(median "${py_smtps[@]}")
  echo "SMTP with STARTTLS and AUTH (587): $count messages of about $size bytes over one session, median of $rounds rounds"
  printf '  %-34s %6.3f s   (rounds: %s)\n' "python smtplib" "$s" "${py_smtps[*]}"
  tls_compare "$s" "$(median "${tern_smtps[@]}")" "$(median "${floor_smtps[@]}")"
  echo "  (TERN32 rounds: ${tern_smtps[*]})"
}

case " $parts " in *" clear "*) clear_tables; clear_ran=yes ;; esac
case " $parts " in *" tls "*) tls_tables ;; esac

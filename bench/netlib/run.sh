#!/usr/bin/env bash
# Network benchmark: TERN32 (under Wine) against Python's poplib and smtplib on the same servers,
# in the same run: 1,000 messages of about 20 KB retrieved from Dovecot (APOP, UIDL, RETR) and
# sent to aiosmtpd over one session. Prints both times and the ratio.
# usage: run.sh WIN64_BUILD_DIR [COUNT] [SIZE]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-1000}
size=${3:-20000}
py=/usr/bin/python3
state=$build/bench-netlib
peers=$state/peers
exe=$build/bin/tern_bench.exe
[ -x "$exe" ] || { echo "build tern_bench first: cmake --build $build --target tern_bench" >&2; exit 1; }
mkdir -p "$state"

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Hidden windows need a display under Wine: use the current one or a private Xvfb.
eval "$(bash "$root/tools/setup/xvfb.sh" "$state/xvfb")"
cleanup() {
  bash "$root/tools/testpeers/peers.sh" stop "$peers" >/dev/null 2>&1 || true
  if [ -n "${LX_XVFB_PID:-}" ]; then kill "$LX_XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT
bash "$root/tools/testpeers/peers.sh" start "$peers"
wine cmd /c exit >/dev/null 2>&1 || true   # start the Wine server before anything is timed

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "POP3: $count messages of about $size bytes (APOP, UIDL, RETR each)"
"$py" "$here/reference.py" fill "$peers/mail/joe" "$count" "$size"
read -r py_pop py_n < <("$py" "$here/reference.py" pop3 127.0.0.2 joe secret "$state/py-pop3.txt")
"$py" "$here/reference.py" fill "$peers/mail/joe" "$count" "$size"
read -r tern_pop tern_n < <(wine "$exe" pop3 "Z:$state/TernPop3.Txt" 127.0.0.2 joe secret | tr -d '\r')
echo "  python poplib : ${py_pop} s (${py_n} messages)"
echo "  TERN32        : ${tern_pop} s (${tern_n} messages)"
echo "  ratio TERN32/python: $(ratio "$tern_pop" "$py_pop")"

echo "SMTP: $count messages of about $size bytes over one session"
"$py" "$here/reference.py" spool "$state/TernSmtp.Txt" "$count" "$size"
read -r py_smtp py_m < <("$py" "$here/reference.py" smtp 127.0.0.3 "$state/TernSmtp.Txt")
read -r tern_smtp tern_m < <(wine "$exe" smtp "Z:$state/TernSmtp.Txt" 127.0.0.3 | tr -d '\r')
echo "  python smtplib: ${py_smtp} s (${py_m} messages)"
echo "  TERN32        : ${tern_smtp} s (${tern_m} messages)"
echo "  ratio TERN32/python: $(ratio "$tern_smtp" "$py_smtp")"

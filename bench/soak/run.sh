#!/usr/bin/env bash
# The soak run under Wine: BATCHES batches of BATCH messages retrieved from a Dovecot of its own
# (127.0.0.60) into a private store through the retrieval dialog of one main window, which lists
# every folder, searches, moves, deletes and prints PRINT messages at the first, middle and last
# batch. The driver prints the process's figures after every stage and fails when they grew
# between the first and the last checkpoint beyond a fixed slack. Not part of `make test`.
# usage: run.sh WIN64_BUILD_DIR [BATCHES] [BATCH] [PRINT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
batches=${2:-20}
batch=${3:-1000}
print=${4:-200}
exe=$build/bin/soak_driver.exe
[ -x "$exe" ] || { echo "build the driver first (make soak): $exe is missing" >&2; exit 1; }
state=$build/soak
install=$state/install lock=$state/printer-lock out=$state/print-out peers=$state/peers
rm -rf "$install" "$lock" "$state/bench.db"
mkdir -p "$install" "$lock" "$out" "$peers"
. "$root/bench/winepeers.sh"
. "$root/tools/testpeers/servers.sh"
bench_wine_state "$state"

granter=
soak_cleanup() {
  touch "$lock/end"
  [ -z "$granter" ] || wait "$granter" 2>/dev/null || true
  stop_dovecot "$peers" >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  if [ -n "${LX_XVFB_PID:-}" ]; then kill "$LX_XVFB_PID" 2>/dev/null || true; fi
}
eval "$(bash "$root/tools/setup/xvfb.sh" "$state/xvfb")"
trap soak_cleanup EXIT
start_dovecot "$peers" 127.0.0.60 lx-soak-pop3 joe secret
wait_port 127.0.0.60 110

# The printer is shared with the tests: its lock is held only while the driver prints (the driver
# asks with LOCKDIR/want, prints once LOCKDIR/granted exists and answers with LOCKDIR/done).
grant_printer() {
  while [ ! -e "$lock/end" ]; do
    if [ ! -e "$lock/want" ]; then sleep 0.5; continue; fi
    echo "soak: waiting for the printer ($(date +%T))" >&2
    flock /tmp/lorvex-printer.lock bash -c '
      bash "$1/tools/setup/cups.sh" "$2" >/dev/null || echo "soak: the printer could not be set up" >&2
      touch "$3/granted"
      echo "soak: printing ($(date +%T))" >&2
      while [ ! -e "$3/done" ] && [ ! -e "$3/end" ]; do sleep 0.2; done
      rm -f "$3/granted"' _ "$root" "$out" "$lock"
    while [ -e "$lock/want" ] && [ ! -e "$lock/end" ]; do sleep 0.2; done
    rm -f "$lock/done"
  done
}
grant_printer &
granter=$!

wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -p 600 || true
start=$(date +%s)
set +e
LX_PRINT_OUT=$out timeout 1800 wine "$exe" "Z:$install" "Z:$build/bin/DGROUP.VSF" \
  "Z:$peers/mail/joe" "Z:$lock" "$batches" "$batch" "$print" | sed -u 's/\r$//' | tee "$state/soak.log"
status=${PIPESTATUS[0]}
set -e
echo "soak: $(( $(date +%s) - start )) s in all; the figures are in $state/soak.log"
exit "$status"

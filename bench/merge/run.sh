#!/usr/bin/env bash
# Mail merge benchmark: COUNT addresses, a text of BODY bytes and an attached file of ATTACH
# bytes, sent to aiosmtpd on loopback (an instance of its own on 127.0.0.33:25) by the merge run
# of Lorvex under Wine (merge file read, messages prepared into the spool file, the spool sent by
# TERN32), against Python's smtplib building and sending the same messages over one connection.
# ROUNDS interleaved rounds; medians compared.
# usage: run.sh WIN64_BUILD_DIR [COUNT] [BODY] [ATTACH] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-5000}
body=${3:-20000}
attach=${4:-50000}
rounds=${5:-3}
py=/usr/bin/python3
exe=$build/bin/merge_bench.exe
[ -x "$exe" ] || { echo "build the benchmark first (make bench-merge): $exe is missing" >&2; exit 1; }
state=$build/bench-merge
work=$state/work
sink=$state/smtp
server=127.0.0.33
mkdir -p "$state" "$work" "$sink"
. "$root/tools/testpeers/servers.sh"
. "$root/bench/winepeers.sh" # median

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
eval "$(bash "$root/tools/setup/xvfb.sh" "$state/xvfb")"
cleanup() {
  stop_smtpsink "$state"
  rm -f "$sink"/* "$work/TernSmtp.Txt"
  if [ -n "${LX_XVFB_PID:-}" ]; then kill "$LX_XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT
ports_free "^${server//./\\.}:25\$" "stop the server on $server:25 and start again" || exit 1
start_smtpsink "$state" "$server" 25 "$sink"
wait_port "$server" 25
for dll in TERN32 OdbcVant; do cp -f "$build/bin/$dll.dll" "$(dirname "$exe")/" 2>/dev/null || true; done
wineserver -p 600 2>/dev/null || true
wine cmd /c exit >/dev/null 2>&1 || true

"$py" "$here/reference.py" make "$work" "$count" "$body" "$attach"
# Each round starts with an empty sink, so the server's work is the same for every run.
empty_sink() { rm -f "$sink"/*.eml "$sink"/*.env; }
sent_check() {
  local got
  got=$("$py" "$here/reference.py" check "$sink" "$work")
  [ "$got" = ok ] || { echo "$1: $got" >&2; exit 1; }
}
# Prints "<seconds> <sent> <seconds preparing>".
run_tern() {
  wine "$exe" "Z:$work" "Z:$build/bin/DGROUP.VSF" "Z:$work/merge.mmf" "Z:$work/letter.txt" \
    "Quarterly letter" "Z:$work/report.bin" "$server" "editor@example.org" 2> "$state/merge-log.txt" |
    tr -d '\r'
}
timed_py() {
  local out
  out=$("$py" "$here/reference.py" send "$server" "$work" "editor@example.org" "Quarterly letter")
  [ "${out#* }" = "$count" ] || { echo "smtplib did not send every message: $out" >&2; exit 1; }
  echo "${out%% *}"
}

tern=(); python=(); prep=()
for _ in $(seq 1 "$rounds"); do
  empty_sink; read -r t n pr <<< "$(run_tern)"
  [ "$n" = "$count" ] || {
    echo "the merge did not send every message: $t $n" >&2
    cat "$state/merge-log.txt" >&2
    exit 1
  }
  tern+=("$t"); prep+=("$pr"); sent_check "Lorvex merge"
  empty_sink; python+=("$(timed_py)"); sent_check "smtplib"
done
t=$(median "${tern[@]}"); p=$(median "${python[@]}")
echo "Mail merge: $count addresses, $body-byte text, $attach-byte attachment, median of $rounds interleaved rounds"
printf '  %-44s %8.3f s  (rounds: %s)\n' "Lorvex merge run (TERN32 under Wine)" "$t" "${tern[*]}"
printf '  %-44s %8.3f s  (rounds: %s)\n' "  of which preparing the spool file" "$(median "${prep[@]}")" "${prep[*]}"
printf '  %-44s %8.3f s  (rounds: %s)\n' "Python smtplib, one connection" "$p" "${python[*]}"
awk -v t="$t" -v p="$p" -v n="$count" 'BEGIN {
  printf "  Lorvex: %.1f messages per second; smtplib: %.1f messages per second\n", n / t, n / p
  printf "  ratio Lorvex / smtplib (time): %.2f (target: at most 1.00)\n", t / p }'

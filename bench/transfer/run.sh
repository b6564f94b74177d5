#!/usr/bin/env bash
# Retrieval benchmark under Wine: COUNT messages of about SIZE bytes retrieved from Dovecot,
# scanned and stored in a private SQLite store through the "Retrieving Mail [POP3]" dialog
# (automatic mode, no waits for a user), against the sum of its parts measured in the same run:
# the bare POP3 pull into the spool, the bare scan of that spool and the bare store inserts of its
# messages. ROUNDS interleaved rounds; medians compared.
# usage: run.sh WIN64_BUILD_DIR [COUNT] [SIZE] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-1000}
size=${3:-20000}
rounds=${4:-3}
py=/usr/bin/python3
exe=$build/bin/transfer_bench.exe
[ -x "$exe" ] || { echo "build the benchmark first (make bench-transfer): $exe is missing" >&2; exit 1; }
state=$build/bench-transfer
install=$state/install
mkdir -p "$state" "$install"
rm -f "$state/bench.db"
. "$root/bench/winepeers.sh"
bench_wine_state "$state"
bench_wine_peers "$state"
peers=$bench_peers
for dll in OdbcVant TERN32; do cp -f "$build/bin/$dll.dll" "$(dirname "$exe")/" 2>/dev/null || true; done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine cmd /c exit >/dev/null 2>&1 || true

timed() {  # mode: prints seconds; every message must be accounted for
  local out
  out=$(wine "$exe" "$1" "Z:$install" "Z:$build/bin/DGROUP.VSF" | tr -d '\r')
  [ "${out#* }" = "$count" ] || { echo "$1 did not complete: $out" >&2; exit 1; }
  echo "${out%% *}"
}
fill() { "$py" "$root/bench/netlib/reference.py" fill "$peers/mail/joe" "$count" "$size"; }
clean() { rm -f "$install"/DATA/* "$install"/BadFile-*.TXT 2>/dev/null || true; }

dialog=(); pull=(); scan=(); insert=(); parts=()
for _ in $(seq 1 "$rounds"); do
  fill; clean; dialog+=("$(timed dialog)")
  fill; clean; p=$(timed pull); pull+=("$p")
  clean; s=$(timed scan); scan+=("$s")
  i=$(timed insert); insert+=("$i")
  parts+=("$(awk -v a="$p" -v b="$s" -v c="$i" 'BEGIN { printf "%.3f", a + b + c }')")
done
d=$(median "${dialog[@]}"); sum=$(median "${parts[@]}")
echo "Retrieval: $count messages of about $size bytes, median of $rounds interleaved rounds"
printf '  %-40s %7.3f s  (rounds: %s)\n' "dialog: pull, scan and store" "$d" "${dialog[*]}"
printf '  %-40s %7.3f s\n' "bare POP3 pull into the spool" "$(median "${pull[@]}")"
printf '  %-40s %7.3f s\n' "bare scan of the spool" "$(median "${scan[@]}")"
printf '  %-40s %7.3f s\n' "bare store inserts" "$(median "${insert[@]}")"
printf '  %-40s %7.3f s  (rounds: %s)\n' "sum of the parts" "$sum" "${parts[*]}"
awk -v d="$d" -v s="$sum" -v n="$count" 'BEGIN {
  printf "  ratio dialog / sum of parts: %.2f (target 1.5)\n", d / s
  printf "  dialog: %.1f messages per second; parts: %.1f messages per second\n", n / d, n / s }'

# Sourced by the benchmarks that time Wine programs against the loopback test servers.
# bench_wine_peers STATE [PEERS]: a display (the current one or a private Xvfb), the test servers
# in STATE/peers (unless PEERS is "none"), one warm Wine server for the whole run; everything
# stops when the script exits.
# Needs root (the project folder) and WINEPREFIX set.
bench_wine_peers() {
  local state=$1
  bench_peers=$state/peers
  eval "$(bash "$root/tools/setup/xvfb.sh" "$state/xvfb")"
  trap bench_cleanup EXIT
  [ "${2:-}" = none ] || bash "$root/tools/testpeers/peers.sh" start "$bench_peers"
  # One Wine server for the whole run, started before anything is timed.
  wineserver -p 600 || echo "a Wine server already runs for this prefix: the run shares it" >&2
}

# bench_wine_state STATE: a store STATE/bench.db behind its own ODBC set-up, and a Wine prefix of
# its own (STATE/wineprefix) whose windows the X server's absent window manager does not manage:
# Wine otherwise waits two seconds for a window manager to withdraw each closed window.
bench_wine_state() {
  local state=$1
  bash "$root/tools/setup/odbc.sh" "$state/odbc" "$state/bench.db"
  export ODBCSYSINI=$state/odbc ODBCINI=$state/odbc/odbc.ini
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX=$state/wineprefix
  bash "$root/tools/setup/wineprefix.sh" "$WINEPREFIX"
}

bench_cleanup() {
  bash "$root/tools/testpeers/peers.sh" stop "$bench_peers" >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  if [ -n "${LX_XVFB_PID:-}" ]; then kill "$LX_XVFB_PID" 2>/dev/null || true; fi
}

# The median of the arguments (numbers).
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

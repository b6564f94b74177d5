#!/usr/bin/env bash
# A private PostgreSQL server holding the message store, and the data source "Lorvex" on it.
# usage: pgstore.sh start STATE_DIR [ODBC_DIR]   start the server (initdb on first use), create the
#                                                 store when missing, write the DSN into ODBC_DIR
#                                                 (default STATE_DIR/odbc)
#        pgstore.sh fresh STATE_DIR [ODBC_DIR]   the same on a new, empty store (the tests' start)
#        pgstore.sh stop STATE_DIR                stop the server
# The server listens on a Unix socket in its own folder only (no TCP port), so several build
# folders each run one without meeting. It runs as the invoking user, or as "postgres" when that
# is root (PostgreSQL refuses to run as root). The store is the database "lorvex" owned by the role
# "QBT" (password "lantern"), its tables from common/schema/lorvex-postgres.sql (which keeps the
# rows of an existing store).
# The database and the connection keep bytes as they come (SQL_ASCII: a message in Latin-1 is
# stored as it is, not refused as bad UTF-8) and compare and sort them byte by byte (locale C),
# as the embedded SQLite store does.
# Use the DSN with ODBCSYSINI=ODBC_DIR ODBCINI=ODBC_DIR/odbc.ini.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:-}
[ -n "${2:-}" ] || { echo "usage: $0 start|fresh|stop STATE_DIR [ODBC_DIR]" >&2; exit 2; }
state=$(mkdir -p "$2" && cd "$2" && pwd)
odbc_dir=${3:-$state/odbc}
schema="$here/../../common/schema/lorvex-postgres.sql"
port=5432

pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
[ -x "$pgbin/initdb" ] || { echo "PostgreSQL is not installed (Debian package postgresql)" >&2; exit 1; }
driver=$(ls /usr/lib/*/odbc/psqlodbca.so 2>/dev/null | head -n1)
[ -n "$driver" ] || { echo "the PostgreSQL ODBC driver is not installed (Debian package odbc-postgresql)" >&2; exit 1; }

as_server=()
owner=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  as_server=(runuser -u postgres --)
  owner=postgres
fi
run() { "${as_server[@]}" "$@"; }

# The server's folder (data and socket): STATE_DIR/server, or a folder in /tmp when the server's
# user cannot reach STATE_DIR or its socket path would be too long for a Unix socket.
server_dir() {
  if [ -f "$state/server-dir" ]; then cat "$state/server-dir"; return; fi
  local dir=$state/server
  mkdir -p "$dir"
  chown "$owner" "$dir"
  if [ ${#dir} -gt 90 ] || ! run test -w "$dir"; then
    rmdir "$dir" 2>/dev/null || true
    dir=$(mktemp -d /tmp/lorvex-pgstore.XXXXXX)
    chown "$owner" "$dir"
  fi
  echo "$dir" > "$state/server-dir"
  echo "$dir"
}

stop_server() {
  [ -f "$state/server-dir" ] || return 0
  local dir
  dir=$(cat "$state/server-dir")
  if [ -f "$dir/data/postmaster.pid" ]; then
    run "$pgbin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null 2>&1 || true
  fi
}

psql_super() { run "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 -h "$1" -p "$port" -U "$owner" "${@:2}"; }

case "$cmd" in
  start|fresh)
    stop_server
    dir=$(server_dir)
    if [ ! -f "$dir/data/PG_VERSION" ]; then
      rm -rf "$dir/data"
      run "$pgbin/initdb" -D "$dir/data" -U "$owner" -E SQL_ASCII --locale=C --auth=trust \
        >"$state/initdb.log" 2>&1 || { cat "$state/initdb.log" >&2; exit 1; }
      # The server's own user without a password; everyone else with theirs.
      run tee "$dir/data/pg_hba.conf" >/dev/null <<HBA
local all $owner trust
local all all scram-sha-256
HBA
    fi
    # A test store is thrown away after the run: it need not survive a crash of the machine.
    durability=""
    [ "$cmd" = fresh ] && durability="-c fsync=off"
    run "$pgbin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port $durability" \
      start >/dev/null || { tail -n 20 "$dir/server.log" >&2; exit 1; }
    psql_super "$dir" -d postgres <<SQL
SET client_min_messages = warning;
$([ "$cmd" = fresh ] && echo 'DROP DATABASE IF EXISTS lorvex;' || true)
DO \$\$ BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'QBT') THEN
    CREATE ROLE "QBT" LOGIN PASSWORD 'lantern';
  END IF;
END \$\$;
SELECT 'CREATE DATABASE lorvex OWNER "QBT" ENCODING ''SQL_ASCII'' LC_COLLATE ''C'' LC_CTYPE ''C'' TEMPLATE template0'
  WHERE NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = 'lorvex') \\gexec
SQL
    run env PGPASSWORD=lantern PGOPTIONS='-c client_min_messages=warning' \
      "$pgbin/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -p "$port" -U QBT -d lorvex -f - \
      < "$schema" >/dev/null
    mkdir -p "$odbc_dir"
    cat > "$odbc_dir/odbcinst.ini" <<INI
[PostgreSQL]
Description=PostgreSQL ODBC driver
Driver=$driver
INI
    cat > "$odbc_dir/odbc.ini.new" <<INI
[Lorvex]
Description=Lorvex message store (PostgreSQL)
Driver=$driver
Servername=$dir
Port=$port
Database=lorvex
ConnSettings=SET client_encoding TO 'SQL_ASCII'
INI
    mv "$odbc_dir/odbc.ini.new" "$odbc_dir/odbc.ini"
    ;;
  stop)
    stop_server
    ;;
  *)
    echo "usage: $0 start|fresh|stop STATE_DIR [ODBC_DIR]" >&2
    exit 2
    ;;
esac

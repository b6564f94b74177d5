#!/usr/bin/env bash
# Writes the project's own ODBC configuration: DSN "Lorvex" on the embedded SQLite store.
# usage: odbc.sh CONFIG_DIR DATABASE_FILE
# Use it with ODBCSYSINI=CONFIG_DIR ODBCINI=CONFIG_DIR/odbc.ini; the user's home is never touched.
set -euo pipefail
dir=$1; db=$2
mkdir -p "$dir" "$(dirname "$db")"
driver=$(ls /usr/lib/*/odbc/libsqlite3odbc.so 2>/dev/null | head -n1)
[ -n "$driver" ] || { echo "libsqliteodbc is not installed" >&2; exit 1; }
cat > "$dir/odbcinst.ini" <<INI
[SQLite3]
Description=SQLite3 ODBC Driver
Driver=$driver
Setup=$driver
INI
cat > "$dir/odbc.ini.new" <<INI
[Lorvex]
Description=Lorvex message store (embedded SQLite)
Driver=$driver
Database=$db
Timeout=5000
StepAPI=0
NoWCHAR=1
LongNames=0
FKSupport=1
INI
mv "$dir/odbc.ini.new" "$dir/odbc.ini"

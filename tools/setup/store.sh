#!/usr/bin/env bash
# Creates the embedded SQLite message store from common/schema/lorvex-sqlite.sql.
# usage: store.sh DBFILE
# An existing store is never touched; a new one appears only complete (built aside, then moved).
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DBFILE" >&2; exit 2; }
db=$1
here=$(cd "$(dirname "$0")" && pwd)
script="$here/../../common/schema/lorvex-sqlite.sql"
if [ -e "$db" ]; then
  exit 0
fi
command -v sqlite3 >/dev/null || { echo "sqlite3 is not installed" >&2; exit 1; }
mkdir -p "$(dirname "$db")"
tmp="$db.new.$$"
trap 'rm -f "$tmp"' EXIT
sqlite3 -bail "$tmp" < "$script"
mv -n "$tmp" "$db"
echo "Created message store $db"

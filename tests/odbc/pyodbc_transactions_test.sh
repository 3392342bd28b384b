#!/usr/bin/env bash
# pyodbc (Debian's python3-pyodbc) through unixODBC and the FreeTDS driver
# against standin-server, in pyodbc's default mode, autocommit off: the
# driver drives the transactions with transaction-manager requests. The
# Python side (pyodbc_transactions.py) writes, commits and rolls back; the
# server is then stopped and started again on the same data directory, and
# only the committed rows must be there, through pyodbc and through
# standin-sql reading the directory itself.
#
# Usage: pyodbc_transactions_test.sh STANDIN_SERVER STANDIN_SQL
set -uo pipefail

server=$1
standin_sql=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server_harness.sh"
source "$here/check_tally.sh"

work=$(mktemp -d)
trap 'kill_server; rm -rf "$work"' EXIT

# Debian's interpreter, the one python3-pyodbc installs into, even where
# another python3 comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! "$python" -c "import pyodbc" 2>/dev/null; then
  fail "python3-pyodbc is not installed (scripts/install-deps.sh)"; finish
fi
use_freetds_driver "$work" || { fail "FreeTDS driver"; finish; }

login=kassenwart
password=Beitrag-2024
database=DRAVOK77
printf '%s\n' "$password" > "$work/password"
if ! "$standin_sql" --data "$work/data" -b -Q "CREATE DATABASE $database" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"; fail "creating the database"; finish
fi

# A client that waits for an answer that never comes fails the test after
# this long instead of stalling it.
client_limit=120
python_phase() {
  timeout "$client_limit" "$python" "$here/pyodbc_transactions.py" "$server_port" "$login" "$password" \
    "$database" "$1" 2>&1
}
# Each line of the Python side is one check.
tally() {
  local line
  while IFS= read -r line; do
    case $line in
      ok:*) pass ;;
      FAIL:*) fail "${line#FAIL: }" ;;
      *) echo "$line" ;;
    esac
  done <<< "$1"
}

start_server "$server" "$work/data" "$work/password" "$login" "$work/server.log" ||
  { fail "server start"; finish; }
out=$(python_phase write)
status=$?
tally "$out"
[ "$status" -eq 0 ] || fail "the write phase ended with status $status"
if stop_server; then pass; else fail "standin-server did not end cleanly on SIGTERM"; fi

start_server "$server" "$work/data" "$work/password" "$login" "$work/server2.log" ||
  { fail "server restart"; finish; }
out=$(python_phase check)
status=$?
tally "$out"
[ "$status" -eq 0 ] || fail "the check phase ended with status $status"
stop_server || fail "standin-server did not end cleanly the second time"

rows=$("$standin_sql" --data "$work/data" -d "$database" -b -Q "SELECT Nr FROM Beitrag ORDER BY Nr" | tail -n +2)
if [ "$rows" == "$(printf '1\n2\n3\n4\n5')" ]; then pass
else fail "the data directory holds the committed rows only:"; sed 's/^/  /' <<< "$rows"; fi
finish

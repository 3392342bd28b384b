#!/usr/bin/env bash
# The upgrade over the network, end to end: the demo server seeded once and
# copied, one copy served by standin-server on a free loopback port and
# upgraded by `sqlupdate --console` through unixODBC and FreeTDS with the
# settings file of a real installation, the other upgraded through the
# embedded backend. Both runs must tell the same story on the console and
# leave the same databases; a second run over ODBC must leave them as the
# first left them.
#
# What is backend-specific, and what the comparison allows for it:
# - in the databases, nothing: the dumps (schema and every row) are compared
#   byte for byte;
# - on the console, the text of a failure: over ODBC it is the driver's
#   diagnostic with the driver manager's and driver's prefixes taken off,
#   and a failed login names host and port. The demo run reports no
#   failure, so its transcripts are compared byte for byte too.
#
# Usage: upgrade_over_odbc_test.sh STANDIN_SERVER STANDIN_SQL SQLUPDATE DEMO_DIR
set -uo pipefail

server=$1
standin_sql=$2
sqlupdate=$3
demo_dir=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server_harness.sh"
source "$here/check_tally.sh"

work=$(mktemp -d)
trap 'kill_server; rm -rf "$work"' EXIT

login=sqlupdate
# A password with characters an ODBC connection string must quote, a '}'
# (which FreeTDS wants single inside the braces, not doubled as Microsoft's
# drivers do) and both quotes.
password="Vereins;Kasse=}\"1'"
printf '%s\n' "$password" > "$work/password"

# Runs the tool and records its exit status; 0 and 1 are runs that reached
# their end. The limit only keeps a hung run from stalling the test (a run
# takes well under a minute); no duration is asserted.
run_tool() {
  local settings=$1 log=$2 status=0
  timeout -k 5 900 "$sqlupdate" --console --settings "$settings" > "$log" 2>&1 || status=$?
  if [ "$status" -le 1 ]; then pass; else tail -n 20 "$log"; fail "$log: exit $status"; fi
  # The summary's time taken differs from run to run, and between the paths.
  sed -i -E 's/^(Zusammenfassung: .*), [0-9.]+ s$/\1, <time>/' "$log"
}

compare() {
  local what=$1 expected=$2 actual=$3
  if diff -u "$expected" "$actual" > "$work/diff"; then pass
  else head -n 40 "$work/diff"; fail "$what differ"; fi
}

use_freetds_driver "$work" || { fail "no FreeTDS driver"; finish; }
if ! bash "$demo_dir/seed.sh" "$standin_sql" "$work/embedded" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"; fail "seeding"; finish
fi
cp -a "$work/embedded" "$work/odbc"

printf '[Datenbank]\nProvider=Embedded\nData Source=embedded\n' > "$work/embedded.ini"
run_tool "$work/embedded.ini" "$work/embedded_run1.log"
bash "$here/dump_databases.sh" "$standin_sql" "$work/embedded" > "$work/embedded.dump"

start_server "$server" "$work/odbc" "$work/password" "$login" "$work/server.log" ||
  { fail "server start"; finish; }
write_odbc_settings "$work/odbc.ini" "$server_port" "$login" "$password"
run_tool "$work/odbc.ini" "$work/odbc_run1.log"
# SIGTERM ends the server cleanly, and only then is the directory free for
# the dump.
if stop_server; then pass; else fail "standin-server did not end cleanly on SIGTERM"; fi
compare "console transcripts of the first runs" "$work/embedded_run1.log" "$work/odbc_run1.log"
bash "$here/dump_databases.sh" "$standin_sql" "$work/odbc" > "$work/odbc.dump"
compare "dumps after the first runs" "$work/embedded.dump" "$work/odbc.dump"

# The second run answers every catalogue probe with "already there", read
# through ODBC this time.
start_server "$server" "$work/odbc" "$work/password" "$login" "$work/server2.log" ||
  { fail "server restart"; finish; }
write_odbc_settings "$work/odbc.ini" "$server_port" "$login" "$password"
run_tool "$work/odbc.ini" "$work/odbc_run2.log"
stop_server || fail "standin-server did not end cleanly after the second run"
bash "$here/dump_databases.sh" --rerun-stable "$standin_sql" "$work/odbc" > "$work/odbc2.dump"
bash "$here/dump_databases.sh" --rerun-stable "$standin_sql" "$work/embedded" > "$work/embedded.stable"
compare "dumps after the first and second ODBC runs" "$work/embedded.stable" "$work/odbc2.dump"

# The dump must hold something: an empty or failing dump compares equal.
if [ "$(grep -c '^DRAVOK01\.Adresse	' "$work/odbc.dump")" -gt 1 ]; then pass
else fail "the dump holds no rows of DRAVOK01.Adresse"; fi
finish

#!/usr/bin/env bash
# Failures on the network path, with the tool going through unixODBC and
# FreeTDS as an installation does:
# - no server at the address: the run ends (exit 2) naming host and port;
# - a wrong password: the run ends (exit 2) with the server's refusal,
#   which names the login;
# - the server killed while a tenant is being upgraded: the run ends with
#   the error box (exit 2) instead of waiting for an answer that never
#   comes, and after a restart of the server over the same directory a
#   rerun reaches its end and leaves the databases as an uninterrupted run
#   over the embedded backend does (as far as a rerun leaves them alone).
# Each run of the tool is guarded by a time limit, so a hang fails the test
# instead of stalling it; the limit is generous and asserts no duration.
#
# Usage: faults_over_odbc_test.sh STANDIN_SERVER STANDIN_SQL SQLUPDATE DEMO_DIR
set -uo pipefail

server=$1
standin_sql=$2
sqlupdate=$3
demo_dir=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server_harness.sh"
source "$here/check_tally.sh"

work=$(mktemp -d)
trap 'kill_server; [ -n "${tool_pid:-}" ] && kill "$tool_pid" 2>/dev/null; rm -rf "$work"' EXIT

readonly hang_guard=120  # seconds; only a hung tool comes near it
login=kassenwart
password=Beitrag2024
printf '%s\n' "$password" > "$work/password"
settings="$work/SysDBAdo.INI"

# Runs the tool under the hang guard; sets `status` and leaves its output in LOG.
run_guarded() {
  local log=$1
  status=0
  timeout -k 5 "$hang_guard" "$sqlupdate" --console --settings "$settings" > "$log" 2>&1 ||
    status=$?
}

expect_status() {
  local what=$1 expected=$2 log=$3
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    fail "$what: the tool hung (stopped after $hang_guard s)"; tail -n 5 "$log"
  elif [ "$status" -eq "$expected" ]; then pass
  else fail "$what: exit $status, expected $expected"; tail -n 10 "$log"; fi
}

expect_text() {
  local what=$1 text=$2 log=$3
  if grep -q -F -- "$text" "$log"; then pass
  else fail "$what: no '$text' in the output"; tail -n 10 "$log"; fi
}

use_freetds_driver "$work" || { fail "no FreeTDS driver"; finish; }
if ! bash "$demo_dir/seed.sh" "$standin_sql" "$work/data" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"; fail "seeding"; finish
fi
cp -a "$work/data" "$work/reference"

# Nothing listens on the port a stopped server had.
start_server "$server" "$work/data" "$work/password" "$login" "$work/server0.log" ||
  { fail "server start"; finish; }
dead_port=$server_port
stop_server || fail "standin-server did not end cleanly on SIGTERM"
write_odbc_settings "$settings" "$dead_port" "$login" "$password"
run_guarded "$work/no_server.log"
expect_status "no server" 2 "$work/no_server.log"
expect_text "no server" "Abbruch:" "$work/no_server.log"
expect_text "no server" "host 127.0.0.1, port $dead_port" "$work/no_server.log"

start_server "$server" "$work/data" "$work/password" "$login" "$work/server1.log" ||
  { fail "server start"; finish; }
write_odbc_settings "$settings" "$server_port" "$login" "not-$password"
run_guarded "$work/wrong_password.log"
expect_status "wrong password" 2 "$work/wrong_password.log"
expect_text "wrong password" "Login failed for user '$login'" "$work/wrong_password.log"

# The kill comes once the first club database is being upgraded, that is
# in the middle of the run: its caption line is flushed as it is shown.
write_odbc_settings "$settings" "$server_port" "$login" "$password"
log="$work/killed.log"
"$sqlupdate" --console --settings "$settings" > "$log" 2>&1 &
tool_pid=$!
for _ in $(seq $((hang_guard * 10))); do
  grep -q '^== DRAVOK01/' "$log" && break
  kill -0 "$tool_pid" 2>/dev/null || break
  sleep 0.1
done
if grep -q '^== DRAVOK01/' "$log"; then pass; else fail "the run never reached DRAVOK01"; fi
kill_server
killed_at=$(date +%s%N)
status=0
# The tool must end by itself; the guard only keeps a hang from stalling.
( sleep "$hang_guard"; kill -KILL "$tool_pid" 2>/dev/null ) &
guard_pid=$!
wait "$tool_pid" || status=$?
tool_pid=
kill "$guard_pid" 2>/dev/null
wait "$guard_pid" 2>/dev/null
[ "$status" -eq 137 ] && status=124
# For the reader of the test log, not asserted.
echo "the run ended $((($(date +%s%N) - killed_at) / 1000000)) ms after the kill with:"
grep '^Abbruch:' "$log" | sed 's/^/  /'
expect_status "server killed" 2 "$log"
expect_text "server killed" "Abbruch:" "$log"
if grep -q 'UPDATE erfolgreich' "$log"; then fail "server killed: the run claims success"; else pass; fi

# The server recovers the directory from its journal; the rerun finishes
# what the killed run left.
start_server "$server" "$work/data" "$work/password" "$login" "$work/server2.log" ||
  { fail "server restart after the kill"; finish; }
write_odbc_settings "$settings" "$server_port" "$login" "$password"
run_guarded "$work/rerun.log"
if [ "$status" -le 1 ]; then pass; else fail "rerun after the kill: exit $status"; tail -n 10 "$work/rerun.log"; fi
stop_server || fail "standin-server did not end cleanly after the rerun"

printf '[Datenbank]\nProvider=Embedded\nData Source=reference\n' > "$work/embedded.ini"
if "$sqlupdate" --console --settings "$work/embedded.ini" > "$work/reference.log" 2>&1; then pass
else fail "the embedded reference run"; fi
bash "$here/dump_databases.sh" --rerun-stable "$standin_sql" "$work/reference" > "$work/reference.dump"
bash "$here/dump_databases.sh" --rerun-stable "$standin_sql" "$work/data" > "$work/rerun.dump"
if diff -u "$work/reference.dump" "$work/rerun.dump" > "$work/diff"; then pass
else head -n 40 "$work/diff"; fail "killed and rerun differs from an uninterrupted run"; fi
finish

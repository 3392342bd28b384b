#!/usr/bin/env bash
# FreeTDS's own clients against standin-server: tsql (the TDS library
# directly) and bsqldb (DB-Library) log in, run batches and read what they
# get back. The expected rows come from standin-sql on the same data before
# the server opens it, so the comparison checks the wire, not the engine.
#
# Usage: freetds_clients_test.sh STANDIN_SERVER STANDIN_SQL DEMO_DIR
set -uo pipefail

server=$1
standin_sql=$2
demo_dir=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/server_harness.sh"
source "$here/check_tally.sh"

work=$(mktemp -d)
trap 'kill_server; rm -rf "$work"' EXIT
expect_eq() {
  if [ "$3" == "$2" ]; then pass
  else fail "$1"; printf '  expected: %s\n  actual:   %s\n' "${2//$'\n'/$'\n            '}" "${3//$'\n'/$'\n            '}"; fi
}
expect_contains() {
  if grep -q -F -- "$2" <<< "$3"; then pass; else fail "$1: no '$2' in:"; sed 's/^/  /' <<< "$3"; fi
}

login=schriftfuehrer
password=Protokoll-1921
printf '%s\n' "$password" > "$work/password"

if ! bash "$demo_dir/seed.sh" "$standin_sql" "$work/data" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"; fail "seeding"; finish
fi
embedded() { "$standin_sql" --data "$work/data" -b "$@" | tail -n +2; }
members_query="SELECT AdrNr, Vorname, Name, Ort FROM Adresse ORDER BY AdrNr"
expected_members=$(embedded -d DRAVOK01 -Q "$members_query")
expected_club2=$(embedded -d DRAVOK02 -Q "SELECT Name1 FROM Mandstam")

start_server "$server" "$work/data" "$work/password" "$login" "$work/server.log" ||
  { fail "server start"; finish; }

# A server entry of their own, so the clients need no system configuration;
# UTF-8 on the client side keeps the umlauts as they are.
cat > "$work/freetds.conf" <<CONF
[standin]
	host = 127.0.0.1
	port = $server_port
	tds version = 7.4
	client charset = UTF-8
CONF
export FREETDSCONF="$work/freetds.conf"

# A client that waits for an answer that never comes fails the test after
# this long instead of stalling it.
client_limit=60

# bsqldb: data rows only, tab-separated; errors on standard error.
bsql() {
  local database=$1
  timeout "$client_limit" bsqldb -S standin -U "$login" -P "$password" -D "$database" -q -t '\t' 2>&1
}

# tsql: prompts and banners off; data rows and row counts stay.
tsql_batch() {
  local database=$1
  timeout "$client_limit" tsql -S standin -U "$login" -P "$password" -D "$database" -o q 2>&1
}

# -- bsqldb -----------------------------------------------------------------

expect_eq "bsqldb: the members of DRAVOK01 as the engine holds them" "$expected_members" \
  "$(bsql DRAVOK01 <<< "$members_query")"

# The login's database, then USE to another: each batch runs where the
# session stands.
expect_eq "bsqldb: USE switches the session's database" \
  "$(printf 'DRAVOK01\nDRAVOK02\n%s' "$expected_club2")" \
  "$(bsql DRAVOK01 <<'SQL'
SELECT DB_NAME()
go
USE DRAVOK02
go
SELECT DB_NAME()
SELECT Name1 FROM Mandstam
go
SQL
)"

# Every type the upgrade writes, sent back as TDS types and converted by
# DB-Library to text. bsqldb binds as null-terminated strings, which drops
# trailing blanks, and cannot print a uniqueidentifier: tsql shows both
# below.
expect_eq "bsqldb: typed values" \
  "$(printf '42\t-7\t255\t9000000000\t1\t12.345\t2.5\tGrüße\tab\tNULL')" \
  "$(bsql DRAVOK01 <<'SQL'
SELECT CAST(42 AS int), CAST(-7 AS smallint), CAST(255 AS tinyint),
       CAST(9000000000 AS bigint), CAST(1 AS bit), CAST(12.345 AS decimal(9,3)),
       CAST(2.5 AS float), N'Grüße', CAST('ab' AS char(4)), CAST(NULL AS int)
SQL
)"

# The row count of an UPDATE travels in its DONE token; bsqldb reports it
# on standard error.
expect_eq "bsqldb: the rows an UPDATE touched" "2 rows affected" \
  "$(timeout "$client_limit" bsqldb -S standin -U "$login" -P "$password" -D DRAVOK01 -t '\t' 2>&1 >/dev/null \
       <<< "UPDATE Adresse SET Ort = Ort WHERE AdrNr < 3")"

# Writes in one batch, read back in the next; the row counts of DONE travel.
expect_eq "bsqldb: a batch that writes, read back" \
  "$(printf '1\tAbteilung Tennis\n2\tAbteilung Fußball')" \
  "$(bsql DRAVOK01 <<'SQL'
CREATE TABLE Abteilung (Nr int NOT NULL PRIMARY KEY, Name nvarchar(40) NULL)
INSERT INTO Abteilung (Nr, Name) VALUES (1, N'Abteilung Tennis')
INSERT INTO Abteilung (Nr, Name) VALUES (2, N'Abteilung Fußball')
go
SELECT Nr, Name FROM Abteilung ORDER BY Nr
go
SQL
)"

# -- tsql -------------------------------------------------------------------

tsql_out=$(tsql_batch DRAVOK01 <<'SQL'
SELECT COUNT(*) AS n FROM Adresse
go
SELECT * FROM KeineTabelle
go
SELECT CAST('2015-03-04T09:05:00' AS datetime) AS termin, CAST(120.5 AS money) AS betrag,
       CAST('6F9619FF-8B86-D011-B42D-00C04FC964FF' AS uniqueidentifier) AS schluessel,
       CAST('ab' AS char(4)) AS kuerzel
go
SQL
)
if grep -q -x -F "$(wc -l <<< "$expected_members")" <<< "$tsql_out"; then pass
else fail "tsql: no line with the count of members"; fi
expect_contains "tsql: the server's error with its number" "Msg 208" "$tsql_out"
expect_contains "tsql: the server's error text" "Invalid object name 'KeineTabelle'" "$tsql_out"
expect_contains "tsql: datetime, money and uniqueidentifier as FreeTDS prints them" \
  "$(printf 'Mar  4 2015 09:05AM\t120.5000\t6F9619FF-8B86-D011-B42D-00C04FC964FF\tab  ')" "$tsql_out"

# Two sessions at once, each in its own database.
bsql DRAVOK01 <<< "SELECT DB_NAME()" > "$work/first.out" &
first_pid=$!
second=$(bsql DRAVOK02 <<< "SELECT DB_NAME()")
wait "$first_pid"
expect_eq "two sessions: the second in its database" "DRAVOK02" "$second"
expect_eq "two sessions: the first in its database" "DRAVOK01" "$(cat "$work/first.out")"

# A wrong password is refused with the server's message naming the login.
refused=$(timeout "$client_limit" bsqldb -S standin -U "$login" -P "wrong" -D DRAVOK01 -q <<< "SELECT 1" 2>&1)
expect_contains "bsqldb: wrong password" "Login failed for user '$login'" "$refused"

if stop_server; then pass; else fail "standin-server did not end cleanly on SIGTERM"; fi
# What the clients wrote is in the directory after the server ended.
expect_eq "the rows written over the wire persist" "$(printf '1\n2')" \
  "$(embedded -d DRAVOK01 -Q "SELECT Nr FROM Abteilung ORDER BY Nr")"
finish

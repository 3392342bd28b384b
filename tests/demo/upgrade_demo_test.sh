#!/usr/bin/env bash
# Runs the upgrade over the demo server, end to end: seeds the five
# old-release databases into a temporary directory, runs
# `sqlupdate --console` on them, then runs it again and checks that the
# second run reaches its end and leaves every database as the first run left
# it (the tool is meant to be run again and again). Also checks what the
# finishing pass must leave in every tenant database, TMP copy included.
#
# With REFERENCE_SQLUPDATE, another build of the tool (the Linux one, for
# the Windows build's test), the seeded server is copied before the first
# run and the reference upgrades the copy once: both must leave every
# database alike.
#
# Usage: upgrade_demo_test.sh STANDIN_SQL SQLUPDATE DEMO_DIR [REFERENCE_SQLUPDATE]
set -uo pipefail

standin_sql=$1
sqlupdate=$2
demo_dir=$3
reference=${4-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/data"
settings="$work/SysDBAdo.INI"
passed=0
failed=0
databases="DRAVOK DRAVOK01 DRAVOK02 dravokTMP01 dravokTMP02"

pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

rows() {
  "$standin_sql" --data "$data" -d "$1" -b -Q "$2" | tail -n +2
}

expect_eq() {
  if [ "$3" == "$2" ]; then pass; else fail "$1: expected '$2', got '$3'"; fi
}

# A dump of every table of every tenant database: each table's columns in
# order and its rows, every line prefixed with the database and table and
# the whole sorted, so that row order does not count. tblHelp is left out:
# the help catalogue is deleted and inserted again on every run, so its
# identity values move on. The fourteen chart-of-accounts templates are left
# out too: the template scripts drop and recreate them on every run with
# smallint tax keys, while the tax-key widening runs only once per database.
dump() {
  local db table queries
  for db in $databases; do
    queries=()
    for table in $(rows "$db" "SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES"); do
      [ "$table" == "tblHelp" ] && continue
      case "$table" in
        F5Kont?*|F5Dat?*) [ "$table" != "F5DatSKR49" ] && [ "$table" != "F5DATSKR49" ] && continue ;;
      esac
      queries+=(-Q "SELECT '== $db.$table' AS dump_section" -Q "SELECT * FROM [$table]")
    done
    "$standin_sql" --data "$data" -d "$db" -b "${queries[@]}"
  done | awk '/^== /{section=$0; next} $0!="dump_section"{print section "\t" $0}' | sort
}

run_tool() {
  local log=$1 tool=${2-$sqlupdate} tool_settings=${3-$settings} status=0
  "$tool" --console --settings "$tool_settings" > "$log" 2>&1 || status=$?
  # 0: no messages; 1: reached its end with reported messages. Both are
  # ends of a complete run; anything else ended it early.
  if [ "$status" -le 1 ]; then pass; else tail -n 20 "$log"; fail "$log: exit $status"; fi
}

if ! bash "$demo_dir/seed.sh" "$standin_sql" "$data" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"
  echo "0 passed, 1 failed"
  exit 1
fi
printf '[Datenbank]\nProvider=Embedded\nData Source=data\n' > "$settings"
if [ -n "$reference" ]; then
  mkdir "$work/reference"
  cp -a "$data" "$work/reference/data"
  cp "$settings" "$work/reference/SysDBAdo.INI"
fi

run_tool "$work/run1.log"
dump > "$work/after_run1.txt"
if [ -n "$reference" ]; then
  run_tool "$work/reference.log" "$reference" "$work/reference/SysDBAdo.INI"
  data="$work/reference/data" dump > "$work/reference.txt"
  if diff -u "$work/reference.txt" "$work/after_run1.txt" > "$work/reference.diff"; then pass
  else head -n 40 "$work/reference.diff"; fail "the reference build left the databases otherwise"; fi
fi
run_tool "$work/run2.log"
dump > "$work/after_run2.txt"
if diff -u "$work/after_run1.txt" "$work/after_run2.txt" > "$work/dump.diff"; then pass
else head -n 40 "$work/dump.diff"; fail "the second run changed the databases"; fi

# The finishing pass marks every tenant database, the TMP copy included,
# and makes every tax-key column numeric (19,2), keeping its nullability.
for db in $databases; do
  expect_eq "$db marked as converted" "1" "$(rows "$db" "SELECT COUNT(*) FROM sysobjects WHERE name='UpdS'")"
  expect_eq "$db F5Kont.STSCHL widened" "$(printf 'numeric\t19\t2\tYES')" \
    "$(rows "$db" "SELECT DATA_TYPE, NUMERIC_PRECISION, NUMERIC_SCALE, IS_NULLABLE FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='F5Kont' AND COLUMN_NAME='STSCHL'")"
done

# The main loop skips the TMP copy: its tax-key table never gets the running
# number, and its tax keys keep their old values.
expect_eq "TMP copy without F5Dat.LfdNr" "0" \
  "$(rows dravokTMP01 "SELECT COUNT(*) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='F5Dat' AND COLUMN_NAME='LfdNr'")"
expect_eq "TMP copy keeps its old tax keys" "$(printf '1070\n1160\n1170\n1190')" \
  "$(rows dravokTMP01 "SELECT CAST(STEUERSCHL AS int) FROM F5Dat" | sort)"

# The TMP copy of club 2 keeps the defaults of its old release: the
# finishing pass widens the tax-key columns bound to one and puts each
# default back with its name and definition.
defaults="SELECT OBJECT_NAME(parent_object_id), name, definition FROM sys.default_constraints ORDER BY 1, 2"
expect_eq "TMP copy of club 2 keeps its defaults" "$(rows DRAVOK02 "$defaults")" "$(rows dravokTMP02 "$defaults")"
expect_eq "TMP copy of club 2: F5BEW4.STSCHL widened under its default" "$(printf 'numeric\t19\t2')" \
  "$(rows dravokTMP02 "SELECT DATA_TYPE, NUMERIC_PRECISION, NUMERIC_SCALE FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME='F5BEW4' AND COLUMN_NAME='STSCHL'")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Prints every user database of a data directory that no server holds open:
# each database's columns with their types, its objects with their kinds,
# and every row of every table. Every line starts with its database and
# table (or "columns", "objects") and the whole is sorted, so two dumps
# compare with diff regardless of row order.
#
# --rerun-stable leaves out what every run rewrites, so that a directory
# upgraded once compares equal with one upgraded again (or one whose first
# run was cut off and rerun): the help catalogue, deleted and reloaded by
# every run so that its identity values move on, and the fourteen
# chart-of-accounts templates, dropped and recreated by every run with the
# tax-key type of their scripts while the tax-key widening runs once.
#
# Usage: dump_databases.sh [--rerun-stable] STANDIN_SQL DATA_DIR
set -euo pipefail

stable=0
if [ "${1:-}" == "--rerun-stable" ]; then
  stable=1
  shift
fi
standin_sql=$1
data=$2

rows() {
  "$standin_sql" --data "$data" -d "$1" -b -Q "$2" | tail -n +2
}

# The schema as the catalogue shows it; creation dates and object ids are
# left out, since they tell when, not what.
schema_queries=(
  -Q "SELECT '== columns' AS dump_section"
  -Q "SELECT TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, COLUMN_DEFAULT, IS_NULLABLE,
             DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, NUMERIC_PRECISION, NUMERIC_SCALE,
             COLLATION_NAME
      FROM INFORMATION_SCHEMA.COLUMNS"
  -Q "SELECT '== objects' AS dump_section"
  -Q "SELECT name, type FROM sys.objects WHERE is_ms_shipped = 0"
)

dump() {
  local db table queries
  for db in $(rows master "SELECT name FROM sys.databases WHERE name NOT IN ('master', 'tempdb', 'model', 'msdb')"); do
    queries=("${schema_queries[@]}")
    for table in $(rows "$db" "SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_TYPE = 'BASE TABLE'"); do
      queries+=(-Q "SELECT '== $table' AS dump_section" -Q "SELECT * FROM [$table]")
    done
    "$standin_sql" --data "$data" -d "$db" -b "${queries[@]}" |
      awk -v db="$db" '/^== /{section=substr($0, 4); next}
                       $0!="dump_section"{print db "." section "\t" $0}'
  done
}

without_rerun_churn() {
  awk -F '\t' -v stable="$stable" '
    function churns(table) {
      return table == "tblHelp" ||
             (table ~ /^F5(Kont|Dat)./ && tolower(table) != "f5datskr49")
    }
    stable { split($1, place, "."); table = place[2]
             if ((table == "columns" || table == "objects") && churns($2)) next
             if (churns(table)) next }
    { print }'
}

dump | without_rerun_churn | LC_ALL=C sort

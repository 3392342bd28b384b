#!/usr/bin/env bash
# Seeds a fresh data directory of the embedded server with the demo server:
# the discovery catalogue DRAVOK, the sample clubs DRAVOK01 and DRAVOK02 and
# the TMP copies dravokTMP01 and dravokTMP02 of the two clubs, all in the
# schema of an old release.
# Stops at the first batch that fails.
#
# Usage: demo/seed.sh STANDIN_SQL DATA_DIR   (DATA_DIR is removed first)
set -euo pipefail

if [ $# -ne 2 ] || [ -z "$2" ]; then
  echo "usage: $0 STANDIN_SQL DATA_DIR" >&2
  exit 64
fi
standin_sql=$1
data_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

# One database: created empty, then the old schema and its sample data.
seed_database() {
  local database=$1 data_file=$2
  "$standin_sql" --data "$data_dir" -b -Q "CREATE DATABASE $database" >/dev/null
  "$standin_sql" --data "$data_dir" -d "$database" -b \
    -i "$here/schema_old_release.sql" -i "$here/$data_file" >/dev/null
  echo "seeded $database from $data_file"
}

rm -rf "$data_dir"
mkdir -p "$data_dir"
seed_database DRAVOK catalogue.sql
seed_database DRAVOK01 club_01.sql
seed_database DRAVOK02 club_02.sql
seed_database dravokTMP01 club_01.sql
seed_database dravokTMP02 club_02.sql

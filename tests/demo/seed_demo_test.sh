#!/usr/bin/env bash
# Seeds the demo server into a temporary directory with standin-sql and
# checks it: every batch of the schema and data scripts runs without error,
# every insert left its row, the sample clubs hold the cases the demo is
# meant to show, and the old schema lacks the marker columns whose creation
# starts the one-time blocks of the upgrade.
#
# Usage: seed_demo_test.sh STANDIN_SQL DEMO_DIR
set -uo pipefail

standin_sql=$1
demo_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/data"
passed=0
failed=0

pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

# Prints the result rows of a query (without the header line).
rows() {
  local database=$1 query=$2
  "$standin_sql" --data "$data" -d "$database" -b -Q "$query" | tail -n +2
}

# Prints the header line of a query: the column names in order.
header() {
  "$standin_sql" --data "$data" -d "$1" -b -Q "$2" | head -n 1
}

expect_eq() {
  local what=$1 expected=$2 actual=$3
  if [ "$actual" == "$expected" ]; then pass; else fail "$what: expected '$expected', got '$actual'"; fi
}

expect_at_least() {
  local what=$1 minimum=$2 actual=$3
  if [[ "$actual" =~ ^[0-9]+$ ]] && [ "$actual" -ge "$minimum" ]; then pass
  else fail "$what: expected at least $minimum, got '$actual'"; fi
}

# --- every batch runs -------------------------------------------------------
if ! bash "$demo_dir/seed.sh" "$standin_sql" "$data" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"
  echo "FAIL: seeding stopped at a failing batch"
  echo "0 passed, 1 failed"
  exit 1
fi
pass

databases=$(rows master "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%'" | sort | tr '\n' ' ')
expect_eq "tenant databases" "DRAVOK DRAVOK01 DRAVOK02 dravokTMP01 " "$databases"

main_loop=$(rows master "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%' AND UPPER(SUBSTRING(name,7,3))<>'TMP'" | sort | tr '\n' ' ')
expect_eq "databases of the main loop" "DRAVOK DRAVOK01 DRAVOK02 " "$main_loop"

# --- every insert left its row ----------------------------------------------
# Each data script holds one single-row INSERT per line; the count per table
# must be found in the database.
check_row_counts() {
  local database=$1 script=$2 table expected actual
  while read -r expected table; do
    actual=$(rows "$database" "SELECT COUNT(*) FROM $table")
    expect_eq "$database.$table rows" "$expected" "$actual"
  done < <(grep -o '^INSERT INTO [A-Za-z0-9_]*' "$demo_dir/$script" | awk '{print $3}' | sort | uniq -c)
}
check_row_counts DRAVOK catalogue.sql
check_row_counts DRAVOK01 club_01.sql
check_row_counts DRAVOK02 club_02.sql
check_row_counts dravokTMP01 club_01.sql

# --- the cases the demo shows -----------------------------------------------
for db in DRAVOK01 DRAVOK02; do
  expect_at_least "$db direct-debit members with a membership number" 2 \
    "$(rows $db "SELECT COUNT(*) FROM Adresse WHERE Zahlungsart='L' AND ISNULL(MitglNr,'')<>'' AND Austritt IS NULL")"
  expect_at_least "$db members who left" 1 \
    "$(rows $db "SELECT COUNT(*) FROM Adresse WHERE Austritt IS NOT NULL AND MitglNr IS NOT NULL")"
  expect_at_least "$db contracts paid from another address" 1 \
    "$(rows $db "SELECT COUNT(*) FROM MgVert V INNER JOIN Adresse A ON A.AdrNr=V.AbwAdrNr WHERE V.AbwAdrNr<>V.AdrNr")"
  expect_eq "$db old tax keys in F5Dat" "4" \
    "$(rows $db "SELECT COUNT(*) FROM F5Dat WHERE STEUERSCHL IN (1190,1170,1070,1160)")"
  expect_eq "$db old tax keys in F5Kont" "4" \
    "$(rows $db "SELECT COUNT(DISTINCT STSCHL) FROM F5Kont WHERE STSCHL IN (1190,1170,1070,1160)")"
  expect_at_least "$db area codes" 2 \
    "$(rows $db "SELECT COUNT(*) FROM Adresse WHERE Vorwahl IS NOT NULL")"
  expect_at_least "$db appointments with date and time of day" 1 \
    "$(rows $db "SELECT COUNT(*) FROM W_Vorl WHERE Datum IS NOT NULL AND UhrZeit IS NOT NULL")"
  expect_at_least "$db bookings with an empty search text" 1 \
    "$(rows $db "SELECT COUNT(*) FROM F5BEW4 WHERE ISNULL(SUCHTEXT,'')=''")"
  expect_at_least "$db users" 2 "$(rows $db "SELECT COUNT(*) FROM PASS")"
  expect_at_least "$db contribution types" 3 "$(rows $db "SELECT COUNT(*) FROM MgArt")"
  expect_eq "$db club master rows" "1" "$(rows $db "SELECT COUNT(*) FROM Mandstam")"
done

expect_eq "DRAVOK01 bank slot with a quote in its name" "Raiffeisenbank 'Lechfeld' eG" \
  "$(rows DRAVOK01 "SELECT Bank2 FROM Mandstam")"
expect_eq "DRAVOK01 appointment time of day" "1" \
  "$(rows DRAVOK01 "SELECT COUNT(*) FROM W_Vorl WHERE DATEPART(hh, UhrZeit)=9 AND DATEPART(mi, UhrZeit)=5 AND DATEPART(hh, Datum)=17")"
expect_eq "TMP copy holds the addresses of DRAVOK01" \
  "$(rows DRAVOK01 "SELECT AdrNr, MitglNr, Zahlungsart FROM Adresse")" \
  "$(rows dravokTMP01 "SELECT AdrNr, MitglNr, Zahlungsart FROM Adresse")"

# --- the shapes the upgrade relies on ---------------------------------------
# The sports and federation lists are loaded by positional inserts.
expect_eq "Sportarten column order" "$(printf 'KZ\tNUMMER\tSPORTART\tVerbandNr\tLfdNr')" \
  "$(header DRAVOK01 "SELECT * FROM Sportarten WHERE 1=0")"
expect_eq "fachverbaende column order" "$(printf 'KZ\tNUMMER\tFACHVERBAN\tLfdNr')" \
  "$(header DRAVOK01 "SELECT * FROM fachverbaende WHERE 1=0")"

# Marker columns: the run that creates one does a one-time block, so none of
# them may exist in the old release. Probed the way the add-column step does.
for marker in F5Dat.Klasse EINST.Kn5a EINST.mRef EINST.Anlage3 EINST.GuVSKR49 \
              PASSDB.DSA PASSDB.DOSB2 PASSDB.DOSB3 PASSDB.DOSB4 W_Vorl.LfdNrN \
              W_Vorl.DatumBis d_blz.ID MgLast.IndSepa Adresse.SEPA_FE \
              Adresse.DSABeantragt F5einst.MONATBIS PASS.Verwalter PASS.AutoDatSichDeaktiv; do
  table=${marker%%.*}
  column=${marker#*.}
  for db in DRAVOK DRAVOK01 DRAVOK02 dravokTMP01; do
    found=$(rows $db "SELECT COUNT(*) FROM Information_Schema.Columns WHERE Table_Catalog='$db' AND Table_Schema='dbo' AND Table_Name='$table' AND Column_Name='$column'")
    expect_eq "$db has no $marker yet" "0" "$found"
  done
done

# Keys the upgrade drops by name.
for key in PK_F5DAT PK_W_vorl PK_Sportarten PK_fachverbaende; do
  expect_eq "DRAVOK01 key $key" "1" "$(rows DRAVOK01 "SELECT COUNT(*) FROM sysobjects WHERE name='$key'")"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

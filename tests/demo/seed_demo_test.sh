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
tenants="DRAVOK DRAVOK01 DRAVOK02 dravokTMP01 dravokTMP02"
passed=0
failed=0

pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

# Prints the result rows of one query (without the header line).
rows() {
  "$standin_sql" --data "$data" -d "$1" -b -Q "$2" | tail -n +2
}

# Checks of one database, run in one call of standin-sql: each check is a
# description, an expected value ("N", or ">=N" for at least N) and a query
# that returns exactly one value.
check_names=()
check_expected=()
check_queries=()
check() {
  check_names+=("$1")
  check_expected+=("$2")
  check_queries+=("$3")
}
run_checks() {
  local db=$1 i actual expected arguments=()
  for i in "${!check_queries[@]}"; do arguments+=(-Q "${check_queries[$i]}"); done
  # Every result set is a header line and one value line.
  mapfile -t values < <("$standin_sql" --data "$data" -d "$db" -b "${arguments[@]}" | awk 'NR % 2 == 0')
  for i in "${!check_queries[@]}"; do
    actual=${values[$i]-<missing>}
    expected=${check_expected[$i]}
    if [[ "$expected" == ">="* ]]; then
      if [[ "$actual" =~ ^[0-9]+$ ]] && [ "$actual" -ge "${expected#>=}" ]; then pass
      else fail "$db: ${check_names[$i]}: expected at least ${expected#>=}, got '$actual'"; fi
    elif [ "$actual" == "$expected" ]; then pass
    else fail "$db: ${check_names[$i]}: expected '$expected', got '$actual'"; fi
  done
  check_names=()
  check_expected=()
  check_queries=()
}

# --- every batch runs -------------------------------------------------------
if ! bash "$demo_dir/seed.sh" "$standin_sql" "$data" > "$work/seed.log" 2>&1; then
  cat "$work/seed.log"
  echo "FAIL: seeding stopped at a failing batch"
  echo "0 passed, 1 failed"
  exit 1
fi
pass

expect_list() {
  if [ "$3" == "$2" ]; then pass; else fail "$1: expected '$2', got '$3'"; fi
}
expect_list "tenant databases" "DRAVOK DRAVOK01 DRAVOK02 dravokTMP01 dravokTMP02 " \
  "$(rows master "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%'" | sort | tr '\n' ' ')"
expect_list "databases of the main loop" "DRAVOK DRAVOK01 DRAVOK02 " \
  "$(rows master "SELECT name FROM master.dbo.sysdatabases where UPPER(name) LIKE 'DRAVOK%' AND UPPER(SUBSTRING(name,7,3))<>'TMP'" | sort | tr '\n' ' ')"

# --- every insert left its row ----------------------------------------------
# Each data script holds one single-row INSERT per line.
check_row_counts() {
  local script=$1 table expected
  while read -r expected table; do
    check "rows of $table" "$expected" "SELECT COUNT(*) FROM $table"
  done < <(grep -o '^INSERT INTO [A-Za-z0-9_]*' "$demo_dir/$script" | awk '{print $3}' | sort | uniq -c)
}

# --- the shapes the upgrade relies on ---------------------------------------
# Marker columns: the run that creates one does a one-time block, so none of
# them may exist in the old release. Probed the way the add-column step does.
check_no_markers() {
  local db=$1 marker
  for marker in F5Dat.Klasse EINST.Kn5a EINST.mRef EINST.Anlage3 EINST.GuVSKR49 \
                PASSDB.DSA PASSDB.DOSB2 PASSDB.DOSB3 PASSDB.DOSB4 W_Vorl.LfdNrN \
                W_Vorl.DatumBis d_blz.ID MgLast.IndSepa Adresse.SEPA_FE \
                Adresse.DSABeantragt F5einst.MONATBIS PASS.Verwalter PASS.AutoDatSichDeaktiv; do
    check "no $marker yet" 0 "SELECT COUNT(*) FROM Information_Schema.Columns WHERE Table_Catalog='$db' AND Table_Schema='dbo' AND Table_Name='${marker%%.*}' AND Column_Name='${marker#*.}'"
  done
  # Keys the upgrade drops by name (the sports list under either of its two
  # names: club 2 keeps the older one).
  local key
  for key in PK_F5DAT PK_W_vorl PK_fachverbaende; do
    check "key $key" 1 "SELECT COUNT(*) FROM sysobjects WHERE name='$key'"
  done
  check "key of the sports list" 1 "SELECT COUNT(*) FROM sysobjects WHERE name IN ('PK_Sportarten', 'PK_Sportarten_1')"
}

# --- the cases the demo shows -----------------------------------------------
check_club_cases() {
  check "direct-debit members with a membership number" ">=2" \
    "SELECT COUNT(*) FROM Adresse WHERE Zahlungsart='L' AND ISNULL(MitglNr,'')<>'' AND Austritt IS NULL"
  check "members who left" ">=1" "SELECT COUNT(*) FROM Adresse WHERE Austritt IS NOT NULL AND MitglNr IS NOT NULL"
  check "contracts paid from another address" ">=1" \
    "SELECT COUNT(*) FROM MgVert V INNER JOIN Adresse A ON A.AdrNr=V.AbwAdrNr WHERE V.AbwAdrNr<>V.AdrNr"
  check "old tax keys in F5Dat" 4 "SELECT COUNT(*) FROM F5Dat WHERE STEUERSCHL IN (1190,1170,1070,1160)"
  check "old tax keys in F5Kont" 4 "SELECT COUNT(DISTINCT STSCHL) FROM F5Kont WHERE STSCHL IN (1190,1170,1070,1160)"
  check "area codes" ">=2" "SELECT COUNT(*) FROM Adresse WHERE Vorwahl IS NOT NULL"
  check "appointments with date and time of day" ">=1" \
    "SELECT COUNT(*) FROM W_Vorl WHERE Datum IS NOT NULL AND UhrZeit IS NOT NULL"
  check "bookings with an empty search text" ">=1" "SELECT COUNT(*) FROM F5BEW4 WHERE ISNULL(SUCHTEXT,'')=''"
  check "users" ">=2" "SELECT COUNT(*) FROM PASS"
  check "contribution types" ">=3" "SELECT COUNT(*) FROM MgArt"
  check "club master rows" 1 "SELECT COUNT(*) FROM Mandstam"
}

check_row_counts catalogue.sql
check_no_markers DRAVOK
run_checks DRAVOK

for db in DRAVOK01 dravokTMP01; do
  check_row_counts club_01.sql
  check_no_markers $db
  check_club_cases
  check "bank slot with a quote in its name" "Raiffeisenbank 'Lechfeld' eG" "SELECT Bank2 FROM Mandstam"
  check "appointment at 09:05 entered on a date at 17:00" 1 \
    "SELECT COUNT(*) FROM W_Vorl WHERE DATEPART(hh, UhrZeit)=9 AND DATEPART(mi, UhrZeit)=5 AND DATEPART(hh, Datum)=17"
  run_checks $db
done

for db in DRAVOK02 dravokTMP02; do
  check_row_counts club_02.sql
  check_no_markers $db
  check_club_cases
  check "bank slot without bank code" "" "SELECT BLZ2 FROM Mandstam"
  check "sports list under its older key name" 1 "SELECT COUNT(*) FROM sysobjects WHERE name='PK_Sportarten_1'"
  check "defaults of the old release" 12 "SELECT COUNT(*) FROM sys.default_constraints"
  check "default on a tax-key column" 1 \
    "SELECT COUNT(*) FROM sys.default_constraints WHERE parent_object_id=OBJECT_ID('F5Kont')"
  run_checks $db
done

# The sports and federation lists are loaded by positional inserts: their
# columns must stand in this order.
for db in $tenants; do
  expect_list "$db Sportarten columns" "$(printf 'KZ\tNUMMER\tSPORTART\tVerbandNr\tLfdNr')" \
    "$("$standin_sql" --data "$data" -d "$db" -b -Q "SELECT * FROM Sportarten WHERE 1=0" | head -n 1)"
  expect_list "$db fachverbaende columns" "$(printf 'KZ\tNUMMER\tFACHVERBAN\tLfdNr')" \
    "$("$standin_sql" --data "$data" -d "$db" -b -Q "SELECT * FROM fachverbaende WHERE 1=0" | head -n 1)"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# The Windows download holds the two programs, the example settings and the
# read-me files, the texts with Windows line ends, and the programs run.
#
# Usage: check_dist.sh ZIP EMULATOR
set -uo pipefail

zip=$1
emulator=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

(cd "$work" && cmake -E tar xf "$zip") || { echo "FAIL: $zip cannot be unpacked"; exit 1; }
root=$(find "$work" -mindepth 1 -maxdepth 1 -type d)
for file in sqlupdate.exe standin-sql.exe SysDBAdo.INI LIESMICH.txt README.txt; do
  if [ -s "$root/$file" ]; then pass; else fail "$file missing"; fi
done
for text in SysDBAdo.INI LIESMICH.txt README.txt; do
  lines=$(wc -l < "$root/$text")
  crlf=$(grep -c $'\r$' "$root/$text")
  if [ "$lines" -gt 0 ] && [ "$crlf" -eq "$lines" ]; then pass; else fail "$text: $crlf of $lines lines end in CR LF"; fi
done
if "$emulator" "$root/sqlupdate.exe" --version </dev/null 2>/dev/null | grep -q '^sqlupdate '; then pass
else fail "sqlupdate.exe --version"; fi
# The example names every key the tool reads.
for key in Provider "Data Source" "User ID" Password WinAuth "ODBC Driver"; do
  if grep -q "^;\{0,1\}$key=" "$root/SysDBAdo.INI"; then pass; else fail "SysDBAdo.INI lacks $key"; fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

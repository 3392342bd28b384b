#!/usr/bin/env bash
# The Windows download holds the programs, the example settings and the
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
for file in sqlupdate.exe sqlupdate.com standin-sql.exe SysDBAdo.INI LIESMICH.txt README.txt; do
  if [ -s "$root/$file" ]; then pass; else fail "$file missing"; fi
done
for text in SysDBAdo.INI LIESMICH.txt README.txt; do
  lines=$(wc -l < "$root/$text")
  crlf=$(grep -c $'\r$' "$root/$text")
  if [ "$lines" -gt 0 ] && [ "$crlf" -eq "$lines" ]; then pass; else fail "$text: $crlf of $lines lines end in CR LF"; fi
done
for program in sqlupdate.exe sqlupdate.com; do
  if "$emulator" "$root/$program" --version </dev/null 2>/dev/null | grep -q '^sqlupdate '; then pass
  else fail "$program --version"; fi
done
# A double-click on sqlupdate.exe opens the window and no console: it is a
# window program (PE subsystem 2); its twin for the console is one (3).
subsystem() { x86_64-w64-mingw32-objdump -p "$1" 2>/dev/null | awk '$1 == "Subsystem" { print $2 + 0 }'; }
if [ "$(subsystem "$root/sqlupdate.exe")" = 2 ]; then pass; else fail "sqlupdate.exe is not a window program"; fi
if [ "$(subsystem "$root/sqlupdate.com")" = 3 ]; then pass; else fail "sqlupdate.com is not a console program"; fi
# The example names every key the tool reads.
for key in Provider "Data Source" "User ID" Password WinAuth "ODBC Driver"; do
  if grep -q "^;\{0,1\}$key=" "$root/SysDBAdo.INI"; then pass; else fail "SysDBAdo.INI lacks $key"; fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

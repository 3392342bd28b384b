# shellcheck shell=bash
# Sourced by the ODBC tests: counts the checks that passed and failed, and
# ends the test with the count and an exit status that says whether all
# passed.
passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

#!/usr/bin/env bash
# Runs the ctest tests of a Windows cross build through Wine.
#
# Wine's helper processes (services, the device manager) outlive the first
# program and keep its standard handles open; started by a test, they hold
# ctest's output pipe and each test then waits for them. So the prefix is
# prepared and the server kept running before ctest starts, with the
# helpers' handles on /dev/null, and stopped after.
#
# Usage: scripts/wine-ctest.sh BUILD_DIR [ctest arguments]
set -euo pipefail

build=$1
shift
export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installer dialog while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
wineboot -i </dev/null >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure "$@"

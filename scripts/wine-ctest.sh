#!/usr/bin/env bash
# Runs the ctest tests of a Windows cross build through Wine.
#
# Wine's helper processes (services, the device manager) outlive the first
# program and keep its standard handles open; started by a test, they hold
# ctest's output pipe and each test then waits for them. So the prefix is
# prepared and the server kept running before ctest starts, with the
# helpers' handles on /dev/null, and stopped after.
#
# The window tests need a display: without one, an X server of its own
# (Xvfb) serves the run. Wine shows every window inside one virtual desktop
# there: it draws the frames itself and shows a window at once, where a bare
# X server without a window manager keeps it waiting for the map.
#
# Usage: scripts/wine-ctest.sh BUILD_DIR [ctest arguments]
set -euo pipefail

build=$1
shift
export WINEPREFIX="$(cd "$build" && pwd)/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installer dialog while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

x_server=
stop() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "$x_server" ]; then kill "$x_server" 2>/dev/null || true; fi
}
trap stop EXIT
if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
  x_server=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
fi

mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
wineboot -i </dev/null >/dev/null 2>&1
# A program that crashes ends at once instead of waiting in Wine's crash
# dialog. Every program shows its windows on one virtual desktop: set in the
# registry, taken up by a fresh server, and started here with its handles
# on /dev/null (a test that started it would lend it ctest's output pipe).
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
wineserver -k </dev/null >/dev/null 2>&1 || true
wineserver -w </dev/null >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1
wine explorer /desktop=Default,1280x1024 </dev/null >/dev/null 2>&1 &
ctest --test-dir "$build" --output-on-failure "$@"

#!/usr/bin/env bash
# Takes the README's picture of the window during a run on the demo server:
# a virtual X display with a window manager (so that the frame and its
# caption are drawn), the demo databases freshly seeded, the program started
# on them, and the screen captured while the second club is being upgraded.
#
# A Windows build (BUILD_DIR holds bin/sqlupdate.exe, as build-windows of
# `make windows` does) is shown by Wine on a virtual desktop of the display's
# size, whose frames Wine draws itself; there the picture is taken once the
# run's log names the second club.
#
# Usage: scripts/window-screenshot.sh [BUILD_DIR] [OUT_PNG]
#        (defaults: build, docs/window.png; BUILD_DIR must hold a build)
#        scripts/window-screenshot.sh build-windows docs/window-windows.png
set -euo pipefail

build_dir=${1:-build}
out=${2:-docs/window.png}
here=$(cd "$(dirname "$0")" && pwd)
windows=0
[ -x "$build_dir/bin/sqlupdate.exe" ] && windows=1

if [ "${SCREENSHOT_ON_DISPLAY:-}" != 1 ]; then
  bash "$here/install-deps.sh" screenshot
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  standin_sql=$build_dir/bin/standin-sql
  [ "$windows" = 1 ] && standin_sql=$build_dir/tests/run-standin-sql.sh
  bash "$here/../demo/seed.sh" "$standin_sql" "$work/data" >/dev/null
  printf '[Datenbank]\nProvider=Embedded\nData Source=%s\n' "$work/data" > "$work/SysDBAdo.INI"
  SCREENSHOT_ON_DISPLAY=1 SCREENSHOT_SETTINGS="$work/SysDBAdo.INI" SCREENSHOT_LOG="$work/run.log" \
    xvfb-run -a -s "-screen 0 600x480x24" bash "$0" "$build_dir" "$out"
  echo "window-screenshot: wrote $out"
  exit 0
fi

# From here on: inside the virtual display.
if [ "$windows" = 1 ]; then
  export WINEPREFIX="$(cd "$build_dir" && pwd)/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p </dev/null >/dev/null 2>&1 || true  # one may still run from the seeding
  trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
  wineboot -i </dev/null >/dev/null 2>&1
  # The desktop fills the display; the window is centred on it.
  wine explorer /desktop=screenshot,600x480 "$build_dir/bin/sqlupdate.exe" --settings "$SCREENSHOT_SETTINGS" \
    --log "$SCREENSHOT_LOG" </dev/null >/dev/null 2>&1 &
  tool=$!
  # The picture is taken some statements into the first club, when the bar
  # has left 0.
  for _ in $(seq 1 3000); do
    start=$(grep -n -m1 'DRAVOK01' "$SCREENSHOT_LOG" 2>/dev/null | cut -d: -f1 || true)
    [ -n "$start" ] && break
    sleep 0.02
  done
  for _ in $(seq 1 3000); do
    [ "$(wc -l < "$SCREENSHOT_LOG")" -ge $((start + ${SCREENSHOT_STATEMENTS:-150})) ] && break
    sleep 0.01
  done
  xwd -root -silent | convert xwd:- "$out"
  wait "$tool" || true
  exit 0
fi
openbox >/dev/null 2>&1 &
sleep 1
"$build_dir/bin/sqlupdate" --settings "$SCREENSHOT_SETTINGS" >/dev/null 2>&1 &
tool=$!

# Wait until the caption names the second club, then let the bar move on a
# little before the picture is taken.
for _ in $(seq 1 600); do
  if xdotool search --name '^DRAVOK01/' >/dev/null 2>&1; then break; fi
  sleep 0.02
done
sleep "${SCREENSHOT_DELAY:-0.1}"
xwd -root -silent | convert xwd:- "$out"
wait "$tool" || true

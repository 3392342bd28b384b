#!/usr/bin/env bash
# Takes the README's picture of the window during a run on the demo server:
# a virtual X display with a window manager (so that the frame and its
# caption are drawn), the demo databases freshly seeded, the program started
# on them, and the screen captured while the second club is being upgraded.
#
# Usage: scripts/window-screenshot.sh [BUILD_DIR] [OUT_PNG]
#        (defaults: build, docs/window.png; BUILD_DIR must hold a build)
set -euo pipefail

build_dir=${1:-build}
out=${2:-docs/window.png}
here=$(cd "$(dirname "$0")" && pwd)

if [ "${SCREENSHOT_ON_DISPLAY:-}" != 1 ]; then
  bash "$here/install-deps.sh" screenshot
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  bash "$here/../demo/seed.sh" "$build_dir/bin/standin-sql" "$work/data" >/dev/null
  printf '[Datenbank]\nProvider=Embedded\nData Source=%s\n' "$work/data" > "$work/SysDBAdo.INI"
  SCREENSHOT_ON_DISPLAY=1 SCREENSHOT_SETTINGS="$work/SysDBAdo.INI" \
    xvfb-run -a -s "-screen 0 600x480x24" bash "$0" "$build_dir" "$out"
  echo "window-screenshot: wrote $out"
  exit 0
fi

# From here on: inside the virtual display.
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

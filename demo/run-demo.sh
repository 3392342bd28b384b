#!/usr/bin/env bash
# The demo: seeds BUILD_DIR/demo-data with five old-release tenant databases,
# points the tool at them through BUILD_DIR/bin/SysDBAdo.INI and runs the
# upgrade: the window where a display is available, else the console.
# Running BUILD_DIR/bin/sqlupdate again afterwards upgrades the same,
# already upgraded databases.
#
# Usage: demo/run-demo.sh [BUILD_DIR]   (default: build)
set -euo pipefail

build_dir=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin_dir="$build_dir/bin"
standin_sql="$bin_dir/standin-sql"
tool="$bin_dir/sqlupdate"

if [ ! -x "$standin_sql" ]; then
  echo "run-demo: $standin_sql is missing; build it first (make demo does)" >&2
  exit 1
fi

bash "$here/seed.sh" "$standin_sql" "$build_dir/demo-data"

# Data Source is relative to the directory of the settings file.
settings="$bin_dir/SysDBAdo.INI"
cat > "$settings" <<'INI'
[Datenbank]
Provider=Embedded
Data Source=../demo-data
INI
echo "wrote $settings"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  command=("$tool")
else
  command=("$tool" --console)
fi

if [ ! -x "$tool" ]; then
  echo "run-demo: $tool is not built yet; the demo would now run: ${command[*]}"
  exit 0
fi

echo "running: ${command[*]}"
status=0
"${command[@]}" || status=$?
case $status in
  0) echo "run-demo: the upgrade reached its end without messages" ;;
  1) echo "run-demo: the upgrade reached its end; it reported messages (see above)" ;;
  *) echo "run-demo: the upgrade ended early (exit $status)" >&2
     exit "$status" ;;
esac
echo "run-demo: run '${command[*]}' again to upgrade the already upgraded databases"

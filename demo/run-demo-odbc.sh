#!/usr/bin/env bash
# The demo over the network: seeds BUILD_DIR/demo-odbc/data with the demo
# server, serves it with standin-server on a free loopback port, writes the
# settings file a real installation has (Provider=SQLOLEDB.1, a SQL login,
# Data Source=host,port) to BUILD_DIR/demo-odbc/SysDBAdo.INI and runs the
# upgrade through unixODBC and the FreeTDS driver: the window where a display
# is available, else the console. The server ends with the run.
#
# The login is sa; its password is $STANDIN_PASSWORD, or "demo".
#
# Usage: demo/run-demo-odbc.sh [BUILD_DIR]   (default: build)
set -euo pipefail

build_dir=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/odbc/server_harness.sh"
bin_dir="$build_dir/bin"
demo_dir="$build_dir/demo-odbc"

for program in standin-sql standin-server sqlupdate; do
  if [ ! -x "$bin_dir/$program" ]; then
    echo "run-demo-odbc: $bin_dir/$program is missing; build it first (make demo-odbc does)" >&2
    exit 1
  fi
done

mkdir -p "$demo_dir"
use_freetds_driver "$demo_dir"
if [ -n "${ODBCSYSINI:-}" ]; then
  echo "FreeTDS is not registered with unixODBC; using the driver from $ODBCSYSINI/odbcinst.ini"
  echo "(register it for good with: sudo odbcinst -i -d -f /usr/share/tdsodbc/odbcinst.ini)"
fi

bash "$here/seed.sh" "$bin_dir/standin-sql" "$demo_dir/data"

login=sa
password=${STANDIN_PASSWORD:-demo}
( umask 077; printf '%s\n' "$password" > "$demo_dir/password" )
trap 'stop_server || true' EXIT
start_server "$bin_dir/standin-server" "$demo_dir/data" "$demo_dir/password" "$login" \
  "$demo_dir/server.log"
echo "standin-server serves $demo_dir/data on 127.0.0.1:$server_port (login $login)"

settings="$demo_dir/SysDBAdo.INI"
write_odbc_settings "$settings" "$server_port" "$login" "$password"
echo "wrote $settings:"
sed 's/^Password=.*/Password=.../; s/^/  /' "$settings"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  command=("$bin_dir/sqlupdate" --settings "$settings")
else
  command=("$bin_dir/sqlupdate" --console --settings "$settings")
fi
echo "running: ${command[*]}"
status=0
started=$(date +%s%N)
"${command[@]}" || status=$?
elapsed_ms=$((($(date +%s%N) - started) / 1000000))
printf 'run-demo-odbc: the run took %d.%d s over ODBC\n' $((elapsed_ms / 1000)) $((elapsed_ms % 1000 / 100))

stop_server
trap - EXIT
case $status in
  0) echo "run-demo-odbc: the upgrade reached its end without messages" ;;
  1) echo "run-demo-odbc: the upgrade reached its end; it reported messages (see above)" ;;
  *) echo "run-demo-odbc: the upgrade ended early (exit $status); the server's log: $demo_dir/server.log" >&2
     exit "$status" ;;
esac
cat <<TEXT
run-demo-odbc: the server has ended; to upgrade the same databases again:
  $bin_dir/standin-server --data $demo_dir/data --listen 127.0.0.1:$server_port --password-file $demo_dir/password &
  ${command[*]}
and to look into them with FreeTDS's client while the server runs:
  tsql -H 127.0.0.1 -p $server_port -U $login -P '$password' -D DRAVOK01
TEXT

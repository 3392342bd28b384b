# shellcheck shell=bash
# Sourced by the ODBC tests and demo/run-demo-odbc.sh: starts and stops
# standin-server on a free loopback port, makes sure unixODBC knows the
# FreeTDS driver, and writes the settings file a real installation has.
#
# Functions set these globals:
#   server_pid, server_port   after start_server
#   ODBCSYSINI                exported by use_freetds_driver when the
#                             system has no FreeTDS registration

# The driver name the tool asks unixODBC for when the settings file names
# none.
freetds_driver_name=FreeTDS

# Debian's tdsodbc registers FreeTDS in /etc/odbcinst.ini when it is
# installed (its debconf question defaults to yes). Where that was declined,
# the package's own template is used from a private odbcinst.ini, so nothing
# outside WORK_DIR changes.
# Usage: use_freetds_driver WORK_DIR [private]   ("private" forces the template)
use_freetds_driver() {
  local work=$1 mode=${2:-system}
  if [ "$mode" != private ] && odbcinst -q -d -n "$freetds_driver_name" >/dev/null 2>&1; then
    return 0
  fi
  local template=/usr/share/tdsodbc/odbcinst.ini
  if [ ! -r "$template" ]; then
    echo "the FreeTDS ODBC driver is not installed (package tdsodbc, scripts/install-deps.sh)" >&2
    return 1
  fi
  mkdir -p "$work/odbc"
  cp "$template" "$work/odbc/odbcinst.ini"
  : > "$work/odbc/odbc.ini"
  export ODBCSYSINI="$work/odbc"
  if ! odbcinst -q -d -n "$freetds_driver_name" >/dev/null 2>&1; then
    echo "unixODBC does not read $ODBCSYSINI/odbcinst.ini" >&2
    return 1
  fi
}

# Starts the server over an existing data directory on a free port and waits
# for the port on the first line of its output. Its output goes to LOG.
# Usage: start_server SERVER DATA_DIR PASSWORD_FILE LOGIN LOG
start_server() {
  local server=$1 data=$2 password_file=$3 login=$4 log=$5
  "$server" --data "$data" --listen 127.0.0.1:0 --login "$login" \
    --password-file "$password_file" > "$log" 2>&1 &
  server_pid=$!
  server_port=
  # Up to a minute for a sanitizer build opening the demo directory; the
  # loop ends as soon as the line is there or the server is gone.
  for _ in $(seq 600); do
    if [ "$(wc -l < "$log")" -ge 1 ]; then
      server_port=$(head -n 1 "$log")
      break
    fi
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! [[ "$server_port" =~ ^[0-9]+$ ]]; then
    echo "standin-server did not announce its port; its output:" >&2
    cat "$log" >&2
    stop_server
    return 1
  fi
}

# SIGTERM, then waits: the server checkpoints before it ends, so the data
# directory is complete once this returns.
stop_server() {
  [ -n "${server_pid:-}" ] || return 0
  kill -TERM "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null
  local status=$?
  server_pid=
  return "$status"
}

# Ends the server without a checkpoint, as a crash or a pulled cable would.
kill_server() {
  [ -n "${server_pid:-}" ] || return 0
  kill -KILL "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
  server_pid=
}

# The settings file of an installation that reaches SQL Server through its
# OLE DB provider with a SQL login; Data Source is "host,port" as the
# server's client tools write it.
# A tool that would choose a driver of its own (the Windows build picks the
# newest SQL Server driver installed, which Wine has none of) is told to
# take ODBC_DRIVER.
# Usage: write_odbc_settings FILE PORT LOGIN PASSWORD
write_odbc_settings() {
  local file=$1 port=$2 login=$3 password=$4
  cat > "$file" <<INI
[Datenbank]
Provider=SQLOLEDB.1
Persist Security Info=True
User ID=$login
Password=$password
Data Source=127.0.0.1,$port
INI
  if [ -n "${ODBC_DRIVER-}" ]; then echo "ODBC Driver=$ODBC_DRIVER" >> "$file"; fi
}

#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the
# project needs. Idempotent: when everything is present it prints nothing
# and touches nothing.
#
# Usage: scripts/install-deps.sh [screenshot]
#   screenshot  also what scripts/window-screenshot.sh needs: a window
#               manager to draw the frame, and the X tools that find the
#               window and capture the screen.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  build-essential cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev clang-tidy valgrind
  # libraries
  libinih-dev qt6-base-dev libgl-dev libegl-dev
  unixodbc unixodbc-dev tdsodbc freetds-bin
  # the transaction test of standin-server through pyodbc
  python3-pyodbc
  # benchmark peer
  sqlite3 libsqlite3-dev
  # reference data sources (Bundesbank bank codes, SKR 49 chart)
  libktoblzcheck1v5 gnucash-common
  # the Windows build (make windows): the cross compiler, Wine to run what
  # it builds and GoogleTest's sources for its tests; Wine's own fonts give
  # the window its Tahoma and the frame's buttons their symbols (Marlett)
  g++-mingw-w64-x86-64-posix wine wine64 googletest fonts-wine
  # window tests and screenshots
  xvfb xauth fonts-dejavu-core
)
if [ "${1:-}" == "screenshot" ]; then
  packages+=(openbox x11-apps x11-utils xdotool imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# Runs every benchmark program of BUILD_DIR and prints their figures.
# usage: bench/run-benchmarks.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: bench/run-benchmarks.sh BUILD_DIR}
bin="$build/bin"

run() {
  local title=$1 program=$2
  shift 2
  echo "== $title"
  if [ -x "$bin/$program" ]; then
    "$bin/$program" "$@"
  else
    echo "($bin/$program is not built)"
  fi
  echo
}

run "Script execution: standin against SQLite in memory" insert_bench
run "Parsing only, and whole execution" parse_bench --benchmark_min_time=0.5
run "One demo tenant upgraded: first run and re-run" tenant_upgrade_bench
run "Comma-joined chains of equality joins" join_bench
run "Storage layer" storage_bench --benchmark_min_time=0.2

#!/usr/bin/env bash
# Runs every benchmark program of BUILD_DIR and prints their figures.
# usage: bench/run-benchmarks.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: bench/run-benchmarks.sh BUILD_DIR}
bin="$build/bin"
# The numbers of demo tenants upgrade_bench seeds (UPGRADE_BENCH_TENANTS="1 10").
read -r -a UPGRADE_BENCH_TENANTS <<< "${UPGRADE_BENCH_TENANTS:-1 10 50}"

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
run "The whole upgrade of N demo tenants: first run and re-run" upgrade_bench "${UPGRADE_BENCH_TENANTS[@]}"
run "Comma-joined chains of equality joins" join_bench
run "Storage layer" storage_bench --benchmark_min_time=0.2

#!/usr/bin/env bash
# Builds and runs every benchmark in bench/ and prints one table, followed by the machine.
# Usage: scripts/bench.sh [BUILD_DIR] [extra Google Benchmark flags]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"${JOBS:-2}" >/dev/null

benches=$(find "$build/bin" -maxdepth 1 -type f -name '*_bench' -perm -u+x | sort)
[ -n "$benches" ] || { echo "no benchmarks built in $build/bin" >&2; exit 1; }

printf '%-22s %-58s %14s %14s %12s\n' executable benchmark "real time" "cpu time" iterations
for b in $benches; do
  QT_QPA_PLATFORM=offscreen "$b" --benchmark_format=csv "$@" 2>/dev/null |
    awk -F, -v exe="$(basename "$b")" '
      found { gsub(/"/, "", $1);
              printf "%-22s %-58s %11.3f %-2s %11.3f %-2s %12s\n", exe, $1, $3, $5, $4, $5, $2 }
      /^name,/ { found = 1 }'
done
echo
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores," \
     "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo), $(uname -sr)"

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

printf '%-22s %-50s %13s %13s %11s  %s\n' executable benchmark "real time" "cpu time" iterations counters
failed=0
for b in $benches; do
  # The console report, since the CSV one refuses benchmarks with differing counters.
  if ! QT_QPA_PLATFORM=offscreen "$b" --benchmark_color=false "$@" 2>/dev/null >"$build/bench.out"; then
    failed=1
    echo "$(basename "$b"): failed" >&2
  fi
  awk -v exe="$(basename "$b")" '
    /^-+$/ { dashes++; next }
    dashes >= 2 && NF >= 6 {
      counters = ""
      for (i = 7; i <= NF; i++) counters = counters " " $i
      printf "%-22s %-50s %10s %-2s %10s %-2s %11s %s\n", exe, $1, $2, $3, $4, $5, $6, counters
    }' "$build/bench.out"
done
rm -f "$build/bench.out"
echo
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores," \
     "$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo), $(uname -sr)"
exit $failed

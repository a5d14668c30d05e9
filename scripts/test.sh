#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test offscreen: once in `build`, then again in
# `build-asan` (clang, AddressSanitizer + UndefinedBehaviorSanitizer, no benchmarks), where every
# fuzz target also runs once over its seed corpus. Any failure or sanitizer finding fails the run.
# SKIP_ASAN=1 runs the plain tree only.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

scripts/setup.sh build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

if [ "${SKIP_ASAN:-0}" = 1 ]; then
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVEL_SANITIZE=ON -DKORVEL_BUILD_FUZZ=ON -DKORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
QT_QPA_PLATFORM=offscreen \
ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

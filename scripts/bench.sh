#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ and runs them without a display: bench.sh [benchmark options]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build-bench
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTRELMO_BUILD_BENCH=ON -DTRELMO_BUILD_TESTS=OFF
fi
cmake --build "$dir" -j2 --target trelmo-bench
QT_QPA_PLATFORM=offscreen "$dir/trelmo-bench" "$@"

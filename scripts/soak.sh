#!/usr/bin/env bash
# Soak run: builds the soak benchmark in Release into build-bench/ and runs the main window against the virtual
# module for the given hours (default 1), without a display: soak.sh [HOURS]
# Samples go to build-bench/soak-samples.csv (one line a minute); the summary is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
hours="${1:-1}"
scripts/install-deps.sh
dir=build-bench
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTRELMO_BUILD_BENCH=ON -DTRELMO_BUILD_TESTS=OFF
fi
cmake --build "$dir" -j2 --target trelmo-soak trelmo-sim
export QT_QPA_PLATFORM=offscreen
"$dir/trelmo-soak" "$hours" "$dir/trelmo-sim" "$dir/soak-samples.csv"

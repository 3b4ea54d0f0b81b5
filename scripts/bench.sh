#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ and runs them without a display: bench.sh [benchmark options]
# (the options go to the Message Display benchmark).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build-bench
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTRELMO_BUILD_BENCH=ON -DTRELMO_BUILD_TESTS=OFF
fi
cmake --build "$dir" -j2 --target trelmo-bench trelmo-cycle-bench trelmo-ui-latency-bench trelmo-cli-bench trelmo-sim
export QT_QPA_PLATFORM=offscreen
"$dir/trelmo-bench" "$@"
# 100 cyclic exchanges of the main window against the virtual module (about a minute).
"$dir/trelmo-cycle-bench" 100 "$dir/trelmo-sim"
# The UI thread's longest stalls: 100 cycles connected, then connecting to a module that never answers.
"$dir/trelmo-ui-latency-bench" 100 "$dir/trelmo-sim"
# trelmo-cli: module information and ten reads, fixed against fast timing, median of 20 runs each; then with the
# module answering 4 ms late (about the line time of one answer), as a module that takes time to react.
"$dir/trelmo-cli-bench" 20 "$dir/trelmo-sim" 0
"$dir/trelmo-cli-bench" 20 "$dir/trelmo-sim" 4
# The same on a paced line: the module as a UART at 115200 bit/s, so the frames' wire time is in every run.
"$dir/trelmo-cli-bench" 20 "$dir/trelmo-sim" 0 wire
"$dir/trelmo-cli-bench" 20 "$dir/trelmo-sim" 4 wire

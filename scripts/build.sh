#!/usr/bin/env bash
# Configures (once) and builds into the given directory: build.sh <dir> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$1"; shift
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$dir" -j2

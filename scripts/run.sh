#!/usr/bin/env bash
# The main job: install what is missing, build into build/, start a virtual module and the tool on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DTRELMO_BUILD_TESTS=OFF

sim_out=$(mktemp)
build/trelmo-sim --mode auto >"$sim_out" 2>/dev/null &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; rm -f "$sim_out"' EXIT
for _ in $(seq 50); do [ -s "$sim_out" ] && break; sleep 0.1; done
echo "Virtual module on $(head -n 1 "$sim_out") (listed in the tool's port dialog)"
build/trelmo-demo "$@"

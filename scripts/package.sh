#!/usr/bin/env bash
# Builds in Release into build-package/ and makes the Debian package there with CPack: package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build-package
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTRELMO_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
fi
cmake --build "$dir" -j2
(cd "$dir" && cpack -G DEB)
ls "$dir"/*.deb

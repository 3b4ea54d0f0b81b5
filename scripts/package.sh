#!/usr/bin/env bash
# Builds in Release into build-package/ and makes the Debian package there with CPack: package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build-package
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DTRELMO_BUILD_TESTS=OFF
(cd "$dir" && cpack -G DEB)
ls "$dir"/*.deb

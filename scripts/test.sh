#!/usr/bin/env bash
# Every test: install what is missing, build with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-tests/, run ctest without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build-tests -DTRELMO_SANITIZE=ON -DTRELMO_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-tests
ctest --output-on-failure -j2 --timeout 300 "$@"

#!/usr/bin/env bash
# The threaded tests under ThreadSanitizer: install what is missing, build the tests with it into build-tsan/, run
# the link, protocol, command-line and window tests without a display. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build-tsan -DTRELMO_TSAN=ON -DTRELMO_BUILD_TESTS=ON
export QT_QPA_PLATFORM=offscreen
# The suppressions silence only Qt's own thread pool, which synchronises where ThreadSanitizer cannot see (see there).
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan-suppressions.txt"
cd build-tsan
ctest --output-on-failure -j2 --timeout 300 -L '^(link|protocol|cli|ui)$' "$@"

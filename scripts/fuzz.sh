#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/ and
# runs each for the given seconds (default 60): fuzz.sh [SECONDS] [TARGET...]
# New inputs go to build-fuzz/corpus/<target>/ (seeded from fuzz/corpus/); crashes to build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
scripts/install-deps.sh
if ! command -v clang++ >/dev/null 2>&1; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null || \
    $SUDO apt-get install -y -qq --no-install-recommends clang
fi
dir=build-fuzz
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELMO_FUZZ=ON -DTRELMO_BUILD_TESTS=OFF \
    "${launcher[@]}"
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ls fuzz/corpus)
fi
cmake --build "$dir" -j2 --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$target" "$dir/findings/$target"
  echo "== $target for ${seconds} s"
  "$dir/$target" -max_total_time="$seconds" -dict=fuzz/trelmo.dict -print_final_stats=1 \
    -artifact_prefix="$dir/findings/$target/" "$dir/corpus/$target" "fuzz/corpus/$target" 2>&1 | tail -n 12
done

#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test headless,
# then again under the address and undefined-behaviour sanitizers; builds
# the benchmarks and runs each fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSERIALTEMP_WERROR=ON "$@" >/dev/null
    cmake --build "$dir"
    ctest --test-dir "$dir" --output-on-failure
}

echo "== Build and tests"
run_suite build/test
echo "== Build and tests under address and undefined-behaviour sanitizers"
run_suite build/sanitize -DSERIALTEMP_SANITIZE=ON
echo "== Benchmarks, built only (scripts/bench.sh runs them)"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERIALTEMP_WERROR=ON \
    -DSERIALTEMP_TESTS=OFF -DSERIALTEMP_BENCH=ON >/dev/null
cmake --build build/release
echo "== Fuzz targets, a few seconds each"
bash scripts/fuzz.sh 3

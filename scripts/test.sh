#!/usr/bin/env bash
# Builds everything with warnings as errors, the benchmarks included (built
# only: scripts/bench.sh runs them, optimised), and runs every test headless,
# then again under the address and undefined-behaviour sanitizers; runs each
# fuzz target for a few seconds. Each has its own build folder
# (CMakePresets.json).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

run_suite() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
    # The test programs mostly wait on events and processes: run them side by side.
    ctest --preset "$1" --parallel "$(nproc)"
}

echo "== Build, benchmarks built only, and tests"
run_suite test
echo "== Build and tests under address and undefined-behaviour sanitizers"
run_suite sanitize
echo "== Fuzz targets, a few seconds each"
bash scripts/fuzz.sh 3

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under the address and
# undefined-behaviour sanitizers and runs each for SECONDS (default 60),
# starting from its seed corpus in fuzz/corpus/<target>/. New inputs go to a
# scratch folder; a failing input is kept as build/fuzz/crash-*.
#   bash scripts/fuzz.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    mkdir "$scratch/$target"
    log="build/fuzz/$target.log"
    # The receive path rolls its counter over only after some 10,000 bytes:
    # its inputs may grow that long from the start.
    lengths=()
    [[ $target == Receive ]] && lengths=(-max_len=40000 -len_control=0)
    if ! "build/fuzz/fuzz/fuzz-$target" -max_total_time="$seconds" -print_final_stats=1 \
        "${lengths[@]}" -artifact_prefix=build/fuzz/ "$scratch/$target" "$seeds" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz-$target: FAILED (log: $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz-$target: $runs inputs in ${seconds} s, no failure"
done

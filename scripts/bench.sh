#!/usr/bin/env bash
# Builds in release mode and runs every benchmark and the soak run on the
# offscreen platform, then prints one table of figures against targets.
# Takes about three minutes; run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

cmake --preset bench >/dev/null
cmake --build --preset bench

export QT_QPA_PLATFORM=offscreen
bin=build/bench/bench
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
# Each program prints its rows on standard output and its chatter on standard error.
"$bin/serialtemp-microbench" --benchmark_color=false >>"$rows"
"$bin/serialtemp-latency" >>"$rows"
"$bin/serialtemp-idle" build/bench/src/serialtemp >>"$rows"
"$bin/serialtemp-flood" >>"$rows"
"$bin/serialtemp-startup" >>"$rows"
"$bin/serialtemp-soak" >>"$rows"

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | xargs)," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| measure | figure | target | met |"
echo "|---|---|---|---|"
cat "$rows"
! grep -q '\*\*no\*\*' "$rows"

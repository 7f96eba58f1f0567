#!/usr/bin/env bash
# Builds the terminal in release mode and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}"

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERIALTEMP_TESTS=OFF >/dev/null
cmake --build build/release

exec build/release/src/serialtemp

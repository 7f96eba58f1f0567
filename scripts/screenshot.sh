#!/usr/bin/env bash
# Renders the README's screenshots on the offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERIALTEMP_TESTS=OFF >/dev/null
cmake --build build/release --target serialtemp-screenshot
QT_QPA_PLATFORM=offscreen build/release/tools/screenshot/serialtemp-screenshot \
    docs/window-compact.png docs/window-curve.png

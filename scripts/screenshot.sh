#!/usr/bin/env bash
# Renders the README's screenshots on the offscreen platform (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target serialtemp-screenshot
QT_QPA_PLATFORM=offscreen build/release/tools/screenshot/serialtemp-screenshot \
    docs/window-compact.png docs/window-curve.png

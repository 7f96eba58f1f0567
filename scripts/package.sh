#!/usr/bin/env bash
# Builds the Debian package in release mode: build/release/serialtemp_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSERIALTEMP_TESTS=OFF >/dev/null
cmake --build build/release --target package

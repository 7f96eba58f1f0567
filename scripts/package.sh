#!/usr/bin/env bash
# Builds the Debian package in release mode: build/release/serialtemp_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release --target package

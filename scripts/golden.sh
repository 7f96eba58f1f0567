#!/usr/bin/env bash
# Renders the window tests' golden images anew after an intended change of the
# look (tests/window/golden/*.png); review them with git diff before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset test >/dev/null
cmake --build --preset test --target window_tests
SERIALTEMP_GOLDEN=update ctest --preset test -R '^window$'

#!/usr/bin/env bash
# Builds the terminal in release mode and starts it. With no board on COM1 (no
# port link naming a device that exists, no USB serial device), the board
# simulator plays one there for as long as the terminal runs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release

terminal=build/release/src/serialtemp
boardsim=build/release/tools/boardsim/serialtemp-boardsim
if "$boardsim" --probe >/dev/null; then
    exec "$terminal"
fi

log=build/release/boardsim.log
echo "No board on COM1: the board simulator plays one there until the terminal ends (log: $log)."
"$boardsim" >"$log" 2>&1 &
boardsim_pid=$!
trap 'kill "$boardsim_pid" 2>/dev/null || true; wait "$boardsim_pid" 2>/dev/null || true' EXIT
# A simulator that cannot start must say so now, not when the port is opened.
until "$boardsim" --probe >/dev/null; do
    if ! kill -0 "$boardsim_pid" 2>/dev/null; then
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done
"$terminal"

#!/usr/bin/env bash
# Builds the terminal in release mode and starts it. With no board on COM1 (no
# port link naming a device that exists, no USB serial device), the board
# simulator plays one on the first COM number it may take, for as long as the
# terminal runs.
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
boardsim_pid=
trap '[ -z "$boardsim_pid" ] || { kill "$boardsim_pid" 2>/dev/null; wait "$boardsim_pid" 2>/dev/null; } || true' EXIT
for com in $(seq 1 15); do
    # A number with a device behind it is not the simulator's to take.
    if "$boardsim" --probe --com "$com" >/dev/null; then
        continue
    fi
    "$boardsim" --com "$com" >"$log" 2>&1 &
    boardsim_pid=$!
    # A simulator that cannot start must say so now, not when the port is
    # opened. Status 3: the number is taken by a link of the user's.
    until "$boardsim" --probe --com "$com" >/dev/null; do
        if ! kill -0 "$boardsim_pid" 2>/dev/null; then
            status=0
            wait "$boardsim_pid" || status=$?
            boardsim_pid=
            [ "$status" -eq 3 ] && continue 2
            cat "$log" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "No board on COM1: the board simulator plays one on COM$com until the terminal ends; choose COM$com in the window (log: $log)."
    "$terminal"
    exit
done
echo "No board on COM1, and no COM number is free for the board simulator:" >&2
cat "$log" >&2
exit 1

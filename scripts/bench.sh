#!/usr/bin/env bash
# Builds in release mode and runs every benchmark and the soak run, then
# prints one table of figures against targets. What a user sees is measured
# on a real X server (Xvfb, started here, with a D-Bus session and its
# accessibility bus); single operations on the offscreen platform. Takes
# about nine minutes; run it on an otherwise idle machine. Fails if a target
# is missed, or if a benchmark does not run or prints no row.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/deps.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"

cmake --preset bench >/dev/null
cmake --build --preset bench

bin=build/bench/bench
program=build/bench/src/serialtemp
work=$(mktemp -d)
rows=$work/rows
touch "$rows"
# The session's own runtime folder: the accessibility bus lives there.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

exec 3>"$work/display"
# Without -noreset the server resets when its last client leaves, and a
# benchmark starting meanwhile cannot connect.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 2>"$work/xvfb.log" &
xvfb=$!
exec 3>&-
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$work/display") XSERVER_PID=$xvfb

# Runs one benchmark; its rows go to the table, its chatter to standard
# error. One that fails or prints no row fails the table.
run() {
    local name=$1
    shift
    local out=$work/out status=0
    "$@" >"$out" || status=$?
    cat "$out" >>"$rows"
    if [ "$status" -ne 0 ] || ! grep -q '^|' "$out"; then
        echo "| $name | did not run to the end (exit $status) | runs and prints its rows | **no** |" \
            >>"$rows"
    fi
}

QT_QPA_PLATFORM=offscreen run serialtemp-microbench "$bin/serialtemp-microbench" \
    --benchmark_color=false
export QT_QPA_PLATFORM=xcb
run serialtemp-latency "$bin/serialtemp-latency"
# A desktop session: D-Bus, and the accessibility bus a screen reader uses.
run serialtemp-idle dbus-run-session -- "$bin/serialtemp-idle" "$program"
run serialtemp-flood "$bin/serialtemp-flood"
run serialtemp-startup "$bin/serialtemp-startup" "$program"
run serialtemp-stream "$bin/serialtemp-stream"
QT_QPA_PLATFORM=offscreen run serialtemp-soak "$bin/serialtemp-soak"

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | xargs)," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| measure | figure | target | met |"
echo "|---|---|---|---|"
cat "$rows"
! grep -q '\*\*no\*\*' "$rows"

#!/usr/bin/env bash
# Builds the benchmarks and runs them all, each figure five times (the README takes the
# medians): the headless ones directly, the drawn ones, the memory run and a 20-second run of
# the real game under an Xvfb server of its own with Mesa's software renderer.
#
# Usage: bench/run.sh [results folder]   (default: build-bench/results)
# Take the figures on a quiet machine: the 1-minute load average should be below 1.0.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
results=$(realpath -m "${1:-$build/results}")
mkdir -p "$results"

echo "== machine" >&2
{
  echo "date: $(date -u +%Y-%m-%dT%H:%M:%SZ)"
  echo "nproc: $(nproc)"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
  echo "mesa: $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown)"
  echo "xvfb: $(dpkg-query -W -f='${Version}' xvfb 2>/dev/null || echo unknown)"
  echo "compiler: $(c++ --version | head -1)"
  echo "build type: RelWithDebInfo"
  echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee "$results/machine.txt"

echo "== build" >&2
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLFEN_BENCH=ON > /dev/null
cmake --build "$build" -j 2 --target quillfen quillfen_bench quillfen_bench_window quillfen_bench_process

repeat=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)

# What else ran meanwhile: the run queue, idle and stolen time every 5 s. Runs whose figures
# came out with others' work in them show here.
vmstat -n 5 > "$results/vmstat.txt" &
vmstat=$!
xvfb=""
displayFile=$(mktemp)
trap 'kill "$vmstat" $xvfb 2> /dev/null || true; rm -f "$displayFile"' EXIT

echo "== headless benchmarks" >&2
"$build/bench/quillfen_bench" "${repeat[@]}" \
  --benchmark_out="$results/headless.json" --benchmark_out_format=json | tee "$results/headless.txt"

echo "== X server" >&2
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$displayFile" 2> /dev/null &
xvfb=$!
for _ in $(seq 50); do
  [ -s "$displayFile" ] && break
  sleep 0.1
done
export DISPLAY=":$(cat "$displayFile")"
echo "Xvfb on $DISPLAY" >&2

echo "== drawn benchmarks" >&2
"$build/bench/quillfen_bench_window" "${repeat[@]}" \
  --benchmark_out="$results/window.json" --benchmark_out_format=json | tee "$results/window.txt"

echo "== cold start-up, five fresh processes" >&2
for run in 1 2 3 4 5; do
  "$build/bench/quillfen_bench_process" start-up | tee "$results/start-up-$run.txt"
done

echo "== memory" >&2
"$build/bench/quillfen_bench_process" memory | tee "$results/memory-window.txt"
"$build/bench/quillfen_bench_process" memory-headless | tee "$results/memory-headless.txt"
"$build/bench/quillfen_bench_process" level-images | tee "$results/level-images-window.txt"
"$build/bench/quillfen_bench_process" level-images-headless | tee "$results/level-images-headless.txt"

echo "== the real game for 20 seconds" >&2
game=$(realpath "$build/quillfen")
(cd assets && exec "$game" > "$results/game.log" 2> "$results/game.err") &
pid=$!
memory() { grep -E '^Vm(HWM|RSS):' "/proc/$pid/status" | tr -s ' \t' ' ' | sed "s/^/$1 /"; }
sleep 2
memory "after 2 s:" | tee "$results/memory-game.txt"
sleep 18
memory "after 20 s:" | tee -a "$results/memory-game.txt"
kill -TERM "$pid"
wait "$pid" || echo "The game ended with status $?." >&2
grep -a 'FPS' "$results/game.log" | tee "$results/game-fps.txt"

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$results/machine.txt"

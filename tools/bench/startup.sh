#!/usr/bin/env bash
# Start-up benchmark: time from process start to the title page's first frame,
# peak resident memory, and CPU use while the title page sits idle.
# Usage: tools/bench/startup.sh [runs] [game dir]   (needs Xvfb; starts its own)
set -euo pipefail
runs="${1:-10}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
game_dir="$(cd "${2:-$here/build/game}" && pwd)"

work="$(mktemp -d)"
trap 'kill "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
# A copy, so the benchmark never touches the player's settings or saves.
cp -r "$game_dir"/. "$work/"
rm -rf "$work/saves" && mkdir "$work/saves"

display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY="$display"

clk_tck=$(getconf CLK_TCK)
times=()
peaks=()
for ((i = 1; i <= runs; i++)); do
  log="$work/run$i.log"
  start=$(date +%s%N)
  (cd "$work" && exec ./solvane) >"$log" 2>&1 &
  pid=$!
  until grep -q "首帧已显示" "$log" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || { echo "run $i: the game exited early" >&2; cat "$log" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  if (( i == runs )); then
    sleep 3
    t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep 10
    t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    idle_cpu=$(awk -v d=$((t1 - t0)) -v hz="$clk_tck" 'BEGIN { printf "%.2f", 100 * d / hz / 10 }')
  else
    sleep 0.5
  fi
  peaks+=($(awk '/VmHWM/ {print $2}' "/proc/$pid/status"))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done

sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( runs / 2 ))]}
peak_kb=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
echo "first frame (ms): ${times[*]}"
echo "median to first frame: ${median} ms (target <= 400)"
echo "peak resident memory: $(( peak_kb / 1024 )) MB (target <= 120)"
echo "idle CPU on the title page over 10 s: ${idle_cpu}% of one core (target <= 3)"

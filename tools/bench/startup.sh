#!/usr/bin/env bash
# Start-up benchmark: time from process start to the title page's first frame,
# peak resident memory at the title page, CPU use while the title page sits
# idle, the largest memory mappings there (and whether an OpenGL driver or
# LLVM is loaded); then one whole route played by routebench: memory after
# 20 and 100 lines and at the ending, CPU while a line stays shown.
# Usage: tools/bench/startup.sh [runs] [game dir ...]   (needs Xvfb; starts its own)
# With several game directories the runs alternate between them, so that a
# busy machine weighs on each alike; each directory gets its own figures.
# The route player is the game directory's own "routebench" when it has one
# (to compare builds), else ROUTEBENCH, by default build/tools/bench/routebench;
# ROUTEBENCH=none skips the route.
set -euo pipefail
runs="${1:-10}"
shift || true
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
(( $# )) || set -- "$here/build/game"
routebench="${ROUTEBENCH:-$here/build/tools/bench/routebench}"

work="$(mktemp -d)"
trap 'kill "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY="$display"

# A copy of each game, so the benchmark never touches the player's settings or saves.
dirs=()
for ((d = 1; d <= $#; d++)); do
  src="$(cd "${!d}" && pwd)"
  mkdir "$work/game$d"
  cp -r "$src"/. "$work/game$d/"
  rm -rf "$work/game$d/saves" && mkdir "$work/game$d/saves"
  dirs+=("$src")
done

clk_tck=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Resident memory of a process summed by mapping, largest first.
largest_mappings() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6 ? $6 : "[anonymous]") }
       /^Rss:/ { rss[name] += $2 }
       END { for (n in rss) printf "%8.1f MB  %s\n", rss[n] / 1024, n }' "/proc/$1/smaps" | sort -rn | head -"$2"
}

declare -A times cpus peaks idle maps gl
for ((i = 1; i <= runs; i++)); do
  for ((d = 1; d <= ${#dirs[@]}; d++)); do
    log="$work/run$d-$i.log"
    start=$(date +%s%N)
    (cd "$work/game$d" && exec ./solvane) >"$log" 2>&1 &
    pid=$!
    until grep -q "首帧已显示" "$log" 2>/dev/null; do
      kill -0 "$pid" 2>/dev/null || { echo "run $i: the game exited early" >&2; cat "$log" >&2; exit 1; }
      sleep 0.005
    done
    end=$(date +%s%N)
    times[$d]+="$(( (end - start) / 1000000 )) "
    # Less swayed by other load than the wall clock: the CPU the GUI thread used to get there.
    cpus[$d]+="$(( $(cpu_ticks "$pid/task/$pid") * 1000 / clk_tck )) "
    sleep 3
    if (( i == runs )); then
      t0=$(cpu_ticks "$pid")
      sleep 10
      t1=$(cpu_ticks "$pid")
      idle[$d]=$(awk -v d=$((t1 - t0)) -v hz="$clk_tck" 'BEGIN { printf "%.2f", 100 * d / hz / 10 }')
      maps[$d]="$(largest_mappings "$pid" 15 || true)"
      gl[$d]="$(awk '{print $6}' "/proc/$pid/maps" | grep -E 'LLVM|_dri\.so|libGLX_mesa|libEGL_mesa|swrast|llvmpipe|libgallium' | sort -u || true)"
    fi
    peaks[$d]+="$(awk '/VmHWM/ {print $2}' "/proc/$pid/status") "
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
done

median() { printf '%s\n' $1 | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "machine load (1, 5, 15 min): $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for ((d = 1; d <= ${#dirs[@]}; d++)); do
  echo
  echo "== ${dirs[$((d - 1))]}"
  echo "first frame (ms): ${times[$d]}"
  echo "median to first frame: $(median "${times[$d]}") ms (target <= 180)"
  echo "GUI thread's CPU to the first frame (ms): ${cpus[$d]}, median $(median "${cpus[$d]}")"
  echo "peak resident memory at the title, median of runs: $(( $(median "${peaks[$d]}" | cut -d. -f1) / 1024 )) MB, highest $(( $(printf '%s\n' ${peaks[$d]} | sort -n | tail -1) / 1024 )) MB (target <= 100)"
  echo "idle CPU on the title page over 10 s: ${idle[$d]}% of one core (target <= 1.5)"
  echo "OpenGL driver or LLVM mapped at the title: ${gl[$d]:-none}"
  echo "largest mappings at the title (resident):"
  echo "${maps[$d]}"
  player="$routebench"
  [ "$player" = none ] || [ ! -x "$work/game$d/routebench" ] || player="$work/game$d/routebench"
  if [ "$player" != none ] && [ -x "$player" ]; then
    echo "whole route by $player:"
    (cd "$work/game$d" && "$player" 2>/dev/null) | sed 's/^route: /  /' | tee "$work/route$d.txt"
    awk 'function after(word,   s) { s = substr($0, index($0, word) + length(word)); return s + 0 }
         $1 == "ending" { peak = after("peak"); end = after("resident") }
         $1 == "20" && $2 == "lines" { first = after("resident") }
         /idle CPU on a shown line/ { idle = $(NF - 3) }
         END {
           if (peak == "") exit
           printf "peak resident memory through the route: %s MB (target <= 115)\n", peak
           printf "memory at the ending above 20 lines: %.1f MB (target <= 15)\n", end - first
           printf "idle CPU on a shown line: %s of one core (target <= 1.5)\n", idle
         }' "$work/route$d.txt"
  fi
done

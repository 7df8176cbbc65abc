#!/usr/bin/env bash
# Start-up benchmark, beside the floor: the minimal Qt Quick program
# (build/tools/bench/minimalquick: one 720 x 480 window, the title picture,
# one Text, the renderer the game picks) against the game, in alternating
# runs. For each: time from process start to the first frame (and the GUI
# thread's CPU to it), peak resident memory at the title, CPU while the title
# sits idle, the largest mappings there and any OpenGL driver or LLVM; for the
# game also its first frame and title memory as ratios to the floor's (medians
# of the same run), and when its title music starts after its first frame.
# Then one whole route played by routebench: memory after 20 and 100 lines and
# at the ending, CPU while a line stays shown.
#
# The game runs twice per round, once with only the GStreamer plugins that
# tools/setup.sh installs and once with every plugin the machine has (plus
# EXTRA_GST_PLUGINS, a folder of more, for example packages unpacked with
# dpkg-deb -x), each with a registry of its own. A desktop often has many more
# than the game needs; they must not change what it loads.
#
# Usage: tools/bench/startup.sh [runs] [game dir ...]   (needs Xvfb; starts its own)
# With several game directories the runs alternate between them, so that a
# busy machine weighs on each alike; each directory gets its own figures.
# The route player is the game directory's own "routebench" when it has one
# (to compare builds), else ROUTEBENCH, by default build/tools/bench/routebench;
# ROUTEBENCH=none skips the route. MINIMALQUICK names the floor program.
# STARTUP_ROWS=FILE writes the judged figures for tools/bench/all, one
# "measure|unit|values|le|target" line each.
set -euo pipefail
runs="${1:-10}"
shift || true
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
(( $# )) || set -- "$here/build/game"
routebench="${ROUTEBENCH:-$here/build/tools/bench/routebench}"
minimal="${MINIMALQUICK:-$here/build/tools/bench/minimalquick}"
rows="${STARTUP_ROWS:-/dev/null}"
[ -x "$minimal" ] || cmake --build "$here/build" --target devtools >/dev/null 2>&1 || true
[ -x "$minimal" ] || { echo "missing $minimal: build the target devtools" >&2; exit 1; }

work="$(mktemp -d)"
trap 'kill "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY="$display"

# The two plugin sets.
plugins="$(pkg-config --variable=pluginsdir gstreamer-1.0)"
mkdir "$work/plugins-setup"
dpkg -L libgstreamer1.0-0 gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
  | grep -E "^$plugins/[^/]+\.so$" | xargs -r ln -s -t "$work/plugins-setup"
count() { find "$@" -maxdepth 1 -name '*.so' 2>/dev/null | wc -l; }
setup_count=$(count "$work/plugins-setup")
all_count=$(( $(count "$plugins") + $( [ -n "${EXTRA_GST_PLUGINS:-}" ] && count "$EXTRA_GST_PLUGINS" || echo 0) ))
declare -A set_name
set_name[setup]="set-up's $setup_count GStreamer plugins"
set_name[all]="all $all_count GStreamer plugins, $(( all_count - setup_count )) extra"
sets=(setup all)
if (( all_count <= setup_count )); then
  # Nothing beyond the set-up's here: one set (EXTRA_GST_PLUGINS names a folder of more).
  sets=(all)
  set_name[all]="the machine's $all_count GStreamer plugins, no extra"
fi

# Becomes a command run with a plugin set (none for the floor): call it in a subshell.
with_plugins() {
  local set=$1
  shift
  case "$set" in
    setup) exec env -u GST_PLUGIN_PATH GST_PLUGIN_SYSTEM_PATH="$work/plugins-setup" GST_REGISTRY="$work/registry-setup.bin" "$@" ;;
    all) exec env -u GST_PLUGIN_SYSTEM_PATH GST_PLUGIN_PATH="${EXTRA_GST_PLUGINS:-}" GST_REGISTRY="$work/registry-all.bin" "$@" ;;
    *) exec "$@" ;;
  esac
}

# A copy of each game, so the benchmark never touches the player's settings or saves.
dirs=()
for ((d = 1; d <= $#; d++)); do
  src="$(cd "${!d}" && pwd)"
  mkdir "$work/game$d"
  cp -r "$src"/. "$work/game$d/"
  rm -rf "$work/game$d/saves" && mkdir "$work/game$d/saves"
  dirs+=("$src")
done

# What runs: the floor first, then each game with each plugin set.
names=("minimal Qt Quick program") folders=("$work/game1") programs=("$minimal") psets=(none)
for ((d = 1; d <= ${#dirs[@]}; d++)); do
  for s in "${sets[@]}"; do
    label="${set_name[$s]}"
    (( ${#dirs[@]} == 1 )) || label="${dirs[$((d - 1))]}, $label"
    names+=("$label") folders+=("$work/game$d") programs+=(./solvane) psets+=("$s")
  done
done

clk_tck=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# A thread's own CPU in ms, to the nanosecond (schedstat), not to the tick.
thread_ms() { awk '{ printf "%d", $1 / 1e6 }' "/proc/$1/schedstat"; }

# Resident memory of a process summed by mapping, largest first.
largest_mappings() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6 ? $6 : "[anonymous]") }
       /^Rss:/ { rss[name] += $2 }
       END { for (n in rss) printf "%8.1f MB  %s\n", rss[n] / 1024, n }' "/proc/$1/smaps" | sort -rn | head -"$2"
}

# Seconds since start of the first log line holding a text (the log's pattern
# puts them first), or nothing.
logged_at() { { grep -m1 "$2" "$1" || true; } | awk '{print $1}'; }

# Builds each plugin set's registry before anything is timed.
for s in "${sets[@]}"; do
  (cd "$work/game1" && export QT_LOGGING_RULES="solvane.music.debug=true" && with_plugins "$s" ./solvane) >"$work/warm-$s.log" 2>&1 &
  pid=$!
  for _ in $(seq 100); do grep -q "开始播放\|无法播放" "$work/warm-$s.log" 2>/dev/null && break; sleep 0.1; done
  kill "$pid"; wait "$pid" 2>/dev/null || true
done

declare -A times cpus peaks idle maps gl music early
for ((i = 1; i <= runs; i++)); do
  for ((v = 0; v < ${#names[@]}; v++)); do
    log="$work/run$v-$i.log"
    start=$(date +%s%N)
    (cd "${folders[$v]}" && export QT_LOGGING_RULES="solvane.music.debug=true" \
      QT_MESSAGE_PATTERN="%{time process} %{message}" && with_plugins "${psets[$v]}" "${programs[$v]}") >"$log" 2>&1 &
    pid=$!
    until grep -q "首帧已显示" "$log" 2>/dev/null; do
      kill -0 "$pid" 2>/dev/null || { echo "run $i: ${names[$v]} exited early" >&2; cat "$log" >&2; exit 1; }
      sleep 0.005
    done
    end=$(date +%s%N)
    times[$v]+="$(( (end - start) / 1000000 )) "
    # Less swayed by other load than the wall clock: the CPU the GUI thread used to get there.
    cpus[$v]+="$(thread_ms "$pid/task/$pid") "
    sleep 3
    if (( i == runs )); then
      t0=$(cpu_ticks "$pid")
      sleep 10
      t1=$(cpu_ticks "$pid")
      idle[$v]=$(awk -v d=$((t1 - t0)) -v hz="$clk_tck" 'BEGIN { printf "%.2f", 100 * d / hz / 10 }')
      maps[$v]="$(largest_mappings "$pid" 15 || true)"
      gl[$v]="$(awk '{print $6}' "/proc/$pid/maps" | grep -E 'LLVM|_dri\.so|libGLX_mesa|libEGL_mesa|swrast|llvmpipe|libgallium' | sort -u || true)"
    fi
    peaks[$v]+="$(awk '/VmHWM/ {print $2}' "/proc/$pid/status") "
    kill "$pid"; wait "$pid" 2>/dev/null || true
    if (( v > 0 )); then
      frame_at=$(logged_at "$log" "首帧已显示")
      music_at=$(logged_at "$log" "开始播放")
      if [ -n "$music_at" ]; then
        music[$v]+="$(awk -v f="$frame_at" -v m="$music_at" 'BEGIN { printf "%d", (m - f) * 1000 }') "
        # The line order, not the clock: the music's line came first.
        grep -m1 "首帧已显示\|开始播放" "$log" | grep -q "开始播放" && early[$v]=$(( ${early[$v]:-0} + 1 ))
      fi
    fi
  done
done

median() { printf '%s\n' $1 | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mb() { printf '%s\n' $1 | awk '{ printf "%.1f ", $1 / 1024 }'; }
row() { echo "$1|$2|$3|le|$4" >>"$rows"; }

floor_time=$(median "${times[0]}")
floor_peak=$(median "${peaks[0]}")
echo "machine load (1, 5, 15 min): $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for ((v = 0; v < ${#names[@]}; v++)); do
  name="${names[$v]}"
  echo
  echo "== $name"
  echo "first frame (ms): ${times[$v]}"
  echo "median to first frame: $(median "${times[$v]}") ms$( (( v )) && echo " (target <= 180)")"
  echo "GUI thread's CPU to the first frame (ms): ${cpus[$v]}, median $(median "${cpus[$v]}")"
  echo "peak resident memory at the title, median of runs: $(awk -v k="$(median "${peaks[$v]}")" 'BEGIN { printf "%.1f", k / 1024 }') MB, highest $(( $(printf '%s\n' ${peaks[$v]} | sort -n | tail -1) / 1024 )) MB$( (( v )) && echo " (target <= 100)")"
  echo "idle CPU on the title page over 10 s: ${idle[$v]}% of one core$( (( v )) && echo " (target <= 1.0)")"
  if (( v > 0 )); then
    time_ratio=$(ratio "$(median "${times[$v]}")" "$floor_time")
    peak_ratio=$(ratio "$(median "${peaks[$v]}")" "$floor_peak")
    echo "first frame against the minimal Qt Quick program: $time_ratio times (target <= 1.5)"
    echo "peak memory at the title against the minimal Qt Quick program: $peak_ratio times (target <= 1.5)"
    echo "title music after the first frame (ms): ${music[$v]:-none}, median $(median "${music[$v]:-0}") (target <= 300), before it in ${early[$v]:-0} runs"
    row "start-up, $name: process start to first frame" ms "${times[$v]}" 180
    row "start-up, $name: first frame ÷ minimal Qt Quick" "×" "$time_ratio" 1.5
    row "start-up, $name: peak memory at the title" MB "$(mb "${peaks[$v]}")" 100
    row "start-up, $name: title memory ÷ minimal Qt Quick" "×" "$peak_ratio" 1.5
    row "start-up, $name: idle CPU on the title over 10 s" % "${idle[$v]}" 1.0
    row "start-up, $name: title music after the first frame" ms "${music[$v]:-}" 300
    row "start-up, $name: runs with music before the first frame" "" "${early[$v]:-0}" 0
  fi
  echo "OpenGL driver or LLVM mapped at the title: ${gl[$v]:-none}"
  echo "largest mappings at the title (resident):"
  echo "${maps[$v]}"
  (( v > 0 )) || continue
  player="$routebench"
  game="${folders[$v]}"
  [ "$player" = none ] || [ ! -x "$game/routebench" ] || player="$game/routebench"
  if [ "$player" != none ] && [ -x "$player" ]; then
    echo "whole route by $player:"
    (cd "$game" && with_plugins "${psets[$v]}" "$player" 2>/dev/null) | sed 's/^route: /  /' | tee "$work/route$v.txt"
    # Each run of the route writes a save: the next one starts from a clean folder.
    rm -rf "$game/saves" && mkdir "$game/saves"
    read -r peak end first idle_line < <(awk 'function after(word,   s) { s = substr($0, index($0, word) + length(word)); return s + 0 }
         $1 == "ending" { peak = after("peak"); end = after("resident") }
         $1 == "20" && $2 == "lines" { first = after("resident") }
         /idle CPU on a shown line/ { idle = $(NF - 3) }
         END { if (peak != "") printf "%s %s %s %s\n", peak, end, first, idle }' "$work/route$v.txt") || continue
    printf "peak resident memory through the route: %s MB (target <= 115)\n" "$peak"
    printf "memory at the ending above 20 lines: %.1f MB (target <= 15)\n" "$(awk -v a="$end" -v b="$first" 'BEGIN { print a - b }')"
    printf "idle CPU on a shown line: %s of one core (target <= 1.0)\n" "$idle_line"
    row "route, $name: peak resident memory" MB "$peak" 115
    row "route, $name: memory at the ending above 20 lines" MB "$(awk -v a="$end" -v b="$first" 'BEGIN { printf "%.1f", a - b }')" 15
    row "route, $name: idle CPU on a shown line" % "${idle_line%\%}" 1.0
  fi
done

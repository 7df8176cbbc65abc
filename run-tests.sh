#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and runs every test;
# then runs the library and its logic tests again built with AddressSanitizer
# and UndefinedBehaviorSanitizer (in build-asan). The sanitizer build and the
# benchmarks compile while the ordinary tests run: those mostly wait on timers
# and a virtual display. SOLVANE_SKIP_SANITIZE=1 leaves the second pass out.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="${SOLVANE_BUILD_DIR:-$here/build}"
asan_dir="${SOLVANE_ASAN_BUILD_DIR:-$here/build-asan}"
sanitize=$([ "${SOLVANE_SKIP_SANITIZE:-0}" != 1 ] && echo 1 || echo 0)
. "$here/tools/phases.sh"
"$here/tools/setup.sh"
. "$here/tools/configure.sh"

side_log="$(mktemp)"
side_pid=
trap '[ -n "$side_pid" ] && kill -- -"$side_pid" 2>/dev/null; rm -f "$side_log"' EXIT
set -m # the side build in its own process group, so that a failure stops all of it
(
  nice -n 10 cmake --build "$build_dir" -j"$(nproc)" --target devtools
  if [ "$sanitize" = 1 ]; then
    configure "$asan_dir" -DCMAKE_BUILD_TYPE=Debug -DSOLVANE_SANITIZE=ON -DSOLVANE_TEST_GAME_DIR="$build_dir/game"
    nice -n 10 cmake --build "$asan_dir" -j"$(nproc)"
  fi
) >"$side_log" 2>&1 &
side_pid=$!
set +m

phase_mark=$(date +%s)
# Many tests wait on timers or a virtual display: more run at once than there are cores.
(cd "$build_dir" && ctest --output-on-failure -j"$(( $(nproc) * 2 ))" "$@")
phase_done tests

if ! wait "$side_pid"; then
  side_pid=
  tail -n 40 "$side_log" >&2
  echo "The benchmarks or the sanitizer build failed (above)." >&2
  exit 1
fi
side_pid=
phase_done "benchmarks and sanitizer build (the rest of it, after the tests)"

if [ "$sanitize" = 1 ]; then
  echo "Sanitizer tests in $asan_dir"
  (cd "$asan_dir" && ctest --output-on-failure -j"$(( $(nproc) * 2 ))")
  phase_done "sanitizer tests"
fi

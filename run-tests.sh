#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and runs every test;
# then builds the library and its logic tests again with AddressSanitizer and
# UndefinedBehaviorSanitizer (in build-asan) and runs those.
# SOLVANE_SKIP_SANITIZE=1 leaves the second pass out.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build_dir="${SOLVANE_BUILD_DIR:-$here/build}"
. "$here/tools/phases.sh"
"$here/tools/setup.sh"
phase_mark=$(date +%s)
cd "$build_dir"
# Many tests wait on timers or a virtual display: more run at once than there are cores.
ctest --output-on-failure -j"$(( $(nproc) * 2 ))" "$@"
phase_done tests

if [ "${SOLVANE_SKIP_SANITIZE:-0}" != 1 ]; then
  asan_dir="${SOLVANE_ASAN_BUILD_DIR:-$here/build-asan}"
  echo "Sanitizer build in $asan_dir"
  . "$here/tools/configure.sh"
  configure "$asan_dir" -DCMAKE_BUILD_TYPE=Debug -DSOLVANE_SANITIZE=ON -DSOLVANE_TEST_GAME_DIR="$build_dir/game"
  cmake --build "$asan_dir" -j"$(nproc)"
  cd "$asan_dir"
  ctest --output-on-failure -j"$(( $(nproc) * 2 ))"
  phase_done "sanitizer pass"
fi

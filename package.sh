#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and makes the Debian
# package in build/package; install it with: apt install ./build/package/solvane_*.deb
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
build_dir="${SOLVANE_BUILD_DIR:-$here/build}"
cd "$build_dir"
cpack --config CPackConfig.cmake
ls "$build_dir"/package/solvane_*.deb

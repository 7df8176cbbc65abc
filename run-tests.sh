#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
cd "${SOLVANE_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j"$(nproc)" "$@"

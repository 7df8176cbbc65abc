#!/usr/bin/env bash
# Builds Solvane for 64-bit Windows on Debian 12 (as root: it installs what is
# missing): the game cross-compiled with MinGW-w64 against a Windows Qt (see
# qt.sh: about an hour the first time, then cached), its story, pictures and
# music from the Linux build, and in build-win/:
#   Solvane-win64.zip   a folder that plays where it is unpacked
#   Solvane-setup.exe   an installer (Start menu, uninstaller, saves in %APPDATA%)
# SOLVANE_WIN_TESTS=1 also builds the logic tests (test.sh runs them under Wine).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$here/tools/windows/common.sh"
out="${SOLVANE_WIN_BUILD_DIR:-$here/build-win}"
linux_build="${SOLVANE_BUILD_DIR:-$here/build}"
phase() { echo "== $1 ($(( $(date +%s) - t0 )) s)"; }
t0=$(date +%s)

# The story, pictures, music and icon come from the Linux build's generators.
if [ "${SOLVANE_WIN_SKIP_LINUX:-0}" != 1 ]; then
  phase "Linux build and game data"
  "$here/tools/setup.sh"
fi
data="$linux_build/game"
[ -f "$data/a.txt" ] && [ -f "$data/favicon.ico" ] || { echo "No game data in $data" >&2; exit 1; }

phase "packages"
win_install_cross_tools
win_install wine64 wine nsis zip
phase "Qt for Windows"
qt="$("$here/tools/windows/qt.sh" | tail -1)"
deps="$("$here/tools/windows/deps.sh" | tail -1)"

phase "cross build"
obj="$out/obj"
cmake -S "$here" -B "$obj" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/tools/windows/mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DSOLVANE_WIN_QT="$qt" -DSOLVANE_WIN_DEPS="$deps" -DCMAKE_PREFIX_PATH="$qt;$deps" \
  -DSOLVANE_WIN_ICON="$data/favicon.ico" -DSOLVANE_TEST_GAME_DIR="$data" \
  -DBUILD_TESTING="$([ "${SOLVANE_WIN_TESTS:-0}" = 1 ] && echo ON || echo OFF)" >/dev/null
cmake --build "$obj" -j"$(nproc)"

phase "game folder"
game="$out/Solvane"
"$here/tools/windows/deploy.sh" "$obj/game/solvane.exe" "$qt" "$deps" "$data" "$game"

phase "zip and installer"
rm -f "$out/Solvane-win64.zip"
(cd "$out" && zip -qr9 Solvane-win64.zip Solvane)
makensis -V2 -INPUTCHARSET UTF8 -DSOURCE="$game" -DOUTFILE="$out/Solvane-setup.exe" \
  -DVERSION="$(sed -n 's/^project(Solvane VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")" \
  "$here/packaging/windows/installer.nsi"
phase "done"
ls -l "$out/Solvane-win64.zip" "$out/Solvane-setup.exe"

#!/usr/bin/env bash
# Makes the Windows build's own libraries beside Qt and prints their prefix:
# OpenCC (the 繁體 converter) as opencc.dll with Debian's dictionaries for
# Simplified to Taiwan and back. Cached like Qt; a few seconds after the first.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$here/tools/windows/common.sh"

OPENCC_NPM_VERSION=1.1.3
prefix="$(win_cache)/deps-opencc-$OPENCC_NPM_VERSION-$(sha256sum "$here/tools/windows/opencc/CMakeLists.txt" | cut -c1-8)"
if [ -f "$prefix/.solvane-complete" ]; then
  echo "$prefix"
  exit 0
fi

win_install_cross_tools
win_install opencc libopencc-data
command -v npm >/dev/null || win_install npm
work="$(win_cache)/src/opencc-npm"
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && npm pack --silent "opencc@$OPENCC_NPM_VERSION" >/dev/null && tar xzf "opencc-$OPENCC_NPM_VERSION.tgz")
cmake -S "$here/tools/windows/opencc" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/tools/windows/mingw64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DOPENCC_SOURCE="$work/package" -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build "$work/build" -j"$(nproc)" >/dev/null
cmake --install "$work/build" >/dev/null

# The dictionaries are the same files on every platform.
data=/usr/share/opencc
mkdir -p "$prefix/share/opencc"
for set in s2twp; do
  cp "$data/$set.json" "$prefix/share/opencc/"
  for dict in $(grep -o '"[A-Za-z]*\.ocd2"' "$data/$set.json" | tr -d '"'); do
    cp "$data/$dict" "$prefix/share/opencc/"
  done
done
touch "$prefix/.solvane-complete"
echo "$prefix"

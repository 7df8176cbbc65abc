#!/usr/bin/env bash
# Makes Qt 5.15 for 64-bit Windows (MinGW-w64) from Debian's own source packages
# and prints its prefix on the last line. The prefix is a cache folder named by
# Qt's version and a hash of the configure flags, reused when complete; a ready
# copy under ../shared/toolchains (beside the repository) is taken first.
# The first build takes about an hour of two cores.
#   --check   only say (exit status) whether a ready prefix exists, and print it
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
. "$here/tools/windows/common.sh"

prefix="$(win_cache)/qt-$QT_VERSION-win64-$(qt_flags_hash)"

# A prefix that has what the game builds against.
complete_prefix() {
  local d=$1 m
  [ -x "$d/bin/qmake" ] && [ -d "$d/mkspecs/win32-g++" ] || return 1
  for m in Qt5Core Qt5Quick Qt5QuickControls2 Qt5Multimedia; do
    [ -f "$d/lib/cmake/$m/${m}Config.cmake" ] || return 1
  done
  grep -q "QT_VERSION = $QT_VERSION" "$d/mkspecs/qconfig.pri" 2>/dev/null
}

ready_prefix() {
  local d
  for d in "${SOLVANE_TOOLCHAINS:-$here/../shared/toolchains}"{,/*} "$prefix"; do
    if [ -d "$d" ] && complete_prefix "$d"; then
      (cd "$d" && pwd)
      return 0
    fi
  done
  return 1
}

if found="$(ready_prefix)"; then
  echo "$found"
  exit 0
fi
[ "${1:-}" = --check ] && exit 1

win_install_cross_tools
src="$(win_cache)/src"
mkdir -p "$src"
start=$(date +%s)

# apt-get source needs a deb-src entry: the machine's own Debian entry, as sources.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/solvane-src.sources
  else
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/solvane-src.list
  fi
  apt-get update -qq
fi

for module in "${QT_MODULES[@]}"; do
  [ -f "$prefix/.solvane-$module" ] && continue
  # Debian names most Qt sources -opensource-src, the later modules -everywhere-src.
  tree="$(find "$src" -maxdepth 1 -type d -name "$module-*-src-$QT_VERSION*" | head -1)"
  if [ -z "$tree" ]; then
    (cd "$src" && { apt-get source -qq "$module-opensource-src" || apt-get source -qq "$module-everywhere-src"; } >/dev/null 2>&1) || true
    tree="$(find "$src" -maxdepth 1 -type d -name "$module-*-src-$QT_VERSION*" | head -1)"
    [ -n "$tree" ] || { echo "qt.sh: no source for $module (apt-get source failed)" >&2; exit 1; }
  fi
  echo "== $module ($(( $(date +%s) - start )) s)" >&2
  obj="$src/build-$(qt_flags_hash)-$module"
  mkdir -p "$obj"
  if [ "$module" = qtbase ]; then
    if [ ! -f "$obj/Makefile" ]; then
      (cd "$obj" && "$tree/configure" -prefix "$prefix" "${QT_BASE_FLAGS[@]}" >configure.log 2>&1) \
        || { tail -40 "$obj/configure.log" >&2; exit 1; }
    fi
  else
    # The QML debugger and particles are not used by the game (an eighth of the
    # module), and the Direct3D 12 renderer needs Microsoft's shader compiler.
    extra=()
    [ "$module" = qtdeclarative ] && extra=(-- -no-feature-qml-debug -no-feature-quick-particles -no-feature-d3d12)
    (cd "$obj" && "$prefix/bin/qmake" "$tree" "${extra[@]}" >qmake.log 2>&1) || { tail -40 "$obj/qmake.log" >&2; exit 1; }
  fi
  make -C "$obj" -j"$(nproc)" -s >"$obj/make.log" 2>&1 || { tail -60 "$obj/make.log" >&2; exit 1; }
  make -C "$obj" install -s >"$obj/install.log" 2>&1 || { tail -40 "$obj/install.log" >&2; exit 1; }
  if [ "$module" = qtbase ]; then
    # The prefix may be copied or moved (a shared cache): qmake finds it from its own place.
    printf '[Paths]\nPrefix=..\n' > "$prefix/bin/qt.conf"
  fi
  touch "$prefix/.solvane-$module"
done
echo "Qt for Windows built in $(( $(date +%s) - start )) s" >&2
echo "$prefix"

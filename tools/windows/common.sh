# Shared by the Windows scripts: versions, flags, where the cache lives, and the
# packages the cross build needs.

QT_VERSION=5.15.8
# Multimedia before the QML modules: the game plays music from C++ only, and
# built first it leaves out its QML types.
QT_MODULES=(qtbase qtmultimedia qtdeclarative qtquickcontrols2)
QT_BASE_FLAGS=(
  -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
  -release -shared -opensource -confirm-license -nomake examples -nomake tests
  -no-opengl -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
  -no-dbus -no-icu -no-feature-sql -no-feature-tabletevent
)

# The modules are not in the hash: each one is built into the prefix on its own
# and marked done there, so a module added later extends a prefix in place.
qt_flags_hash() {
  printf '%s\n' "$QT_VERSION" "${QT_BASE_FLAGS[@]}" | sha256sum | cut -c1-10
}

win_cache() { echo "${SOLVANE_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/solvane-win}"; }

win_have_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || return 1
  done
}

win_install() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root)" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The posix thread model: Qt needs std::thread and friends.
win_install_cross_tools() {
  win_install g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
    make perl python3 dpkg-dev cmake ninja-build
  local t
  for t in gcc g++; do
    update-alternatives --set "x86_64-w64-mingw32-$t" "/usr/bin/x86_64-w64-mingw32-$t-posix" >/dev/null 2>&1 || true
  done
}

#!/usr/bin/env bash
# Installs what the game, its data generators and its tests need, then builds everything.
# Safe to run again: it only installs packages that are missing and the build is incremental.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${SOLVANE_BUILD_DIR:-$here/build}"
. "$here/tools/phases.sh"

packages=(
  cmake g++ make ninja-build pkg-config
  qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls2
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good libgstreamer1.0-dev
  espeak-ng libespeak-ng-dev
  fonts-wqy-microhei xvfb xauth imagemagick lame libmp3lame-dev
  libx11-dev xdotool libqt5gamepad5-dev
  libopencc-dev
  dpkg-dev file desktop-file-utils appstream
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this command as root (or install them with apt-get) and try again." >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The settings must read and write the same under a comma-decimal locale; the
# test for that needs one to exist.
if [ "$(id -u)" -eq 0 ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  locale-gen >/dev/null
fi

. "$here/tools/configure.sh"
configure "$build_dir" -DCMAKE_BUILD_TYPE=Release
phase_done set-up
# The pictures and music first (their generators and the runs), then the rest:
# the seconds of each show where a slow build spends them.
cmake --build "$build_dir" -j"$(nproc)" --target gamedata_art gamedata_music
phase_done data
cmake --build "$build_dir" -j"$(nproc)"
phase_done build

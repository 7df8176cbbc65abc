#!/usr/bin/env bash
# deploy.sh EXE QT_PREFIX DEPS_PREFIX DATA_DIR GAME_DIR
# Makes GAME_DIR a folder that plays where it is: the executable, the Qt and
# MinGW libraries it loads (followed through their imports), the plugins and
# QML modules the pages use, OpenCC and its Traditional-character data, and
# the game's story, pictures, music, icon and default settings.
set -euo pipefail
exe=$1 qt=$2 deps=$3 data=$4 game=$5

rm -rf "$game"
mkdir -p "$game"
cp "$exe" "$game/"

# Where a DLL may come from, first match wins.
search=("$qt/bin" "$deps/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)

imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }

copy_with_imports() {
  local file=$1 dll dir found
  for dll in $(imports "$file"); do
    [ -e "$game/$dll" ] && continue
    found=
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then found="$dir/$dll"; break; fi
    done
    [ -n "$found" ] || continue # a Windows system library
    cp "$found" "$game/"
    copy_with_imports "$game/$dll"
  done
}

plugins=(platforms/qwindows.dll imageformats/qico.dll
         mediaservice/dsengine.dll mediaservice/wmfengine.dll audio/qtaudio_windows.dll)
for p in "${plugins[@]}"; do
  [ -f "$qt/plugins/$p" ] || continue
  mkdir -p "$game/$(dirname "$p")"
  cp "$qt/plugins/$p" "$game/$p"
done

# The pages import QtQuick, QtQuick.Window, QtQuick.Controls (the default
# style) and QtQml; Controls pulls in its templates, QtQuick the models.
modules=(QtQml QtQuick.2 QtQuick/Window.2 QtQuick/Controls.2 QtQuick/Templates.2)
for m in "${modules[@]}"; do
  mkdir -p "$game/$m"
  cp -r "$qt/qml/$m/." "$game/$m/"
done
# Styles the game does not use.
rm -rf "$game"/QtQuick/Controls.2/{Fusion,Imagine,Material,Universal,designer}
find "$game" -name '*.qmltypes' -delete -o -name 'plugins.qmltypes' -delete

for f in "$game/solvane.exe" $(find "$game" -name '*.dll'); do
  copy_with_imports "$f"
done

if [ -f "$deps/bin/opencc.dll" ]; then
  cp "$deps/bin/opencc.dll" "$game/"
  copy_with_imports "$game/opencc.dll"
  mkdir -p "$game/opencc"
  cp "$deps/share/opencc/"*.json "$deps/share/opencc/"*.ocd2 "$game/opencc/"
fi

cp "$data/a.txt" "$data/favicon.ico" "$game/"
cp -r "$data/png" "$data/mp3" "$game/"
# A fresh default, never the builder's own settings.
printf '0\r\n0.5\r\n0.5\r\n0.5\r\n' > "$game/setting.txt"

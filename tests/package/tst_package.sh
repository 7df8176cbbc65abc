#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks what it holds:
# the files and where they go, the menu entry, the metainfo, the icons, the
# declared dependencies, and (where lintian is installed) no lintian error.
set -u
build="${1:?usage: tst_package.sh BUILD_DIR SOURCE_DIR}"
src="${2:?usage: tst_package.sh BUILD_DIR SOURCE_DIR}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

# The package goes to a scratch directory, not the build's own package/.
if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" > "$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"; echo "FAIL: cpack"; exit 1
fi
debs=("$tmp"/out/solvane_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one solvane_*.deb, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

dpkg-deb -c "$deb" > "$tmp/contents" || { echo "FAIL: dpkg-deb -c"; exit 1; }
dpkg-deb -x "$deb" "$tmp/root" || { echo "FAIL: dpkg-deb -x"; exit 1; }
root=$tmp/root
share=$root/usr/share/games/solvane
game=$build/game

# Where everything goes.
for path in usr/games/solvane usr/lib/games/solvane/solvane \
    usr/share/games/solvane/a.txt usr/share/games/solvane/setting.txt usr/share/games/solvane/favicon.ico \
    usr/share/applications/org.solvane.Solvane.desktop usr/share/metainfo/org.solvane.Solvane.metainfo.xml \
    usr/share/man/man6/solvane.6.gz usr/share/doc/solvane/copyright usr/share/doc/solvane/changelog.gz; do
  check "holds /$path" [ -f "$root/$path" ]
done
check "the launcher is executable" [ -x "$root/usr/games/solvane" ]
check "the launcher is a POSIX shell script" sh -n "$root/usr/games/solvane"
check "the game is an executable ELF file" bash -c "[ -x '$root/usr/lib/games/solvane/solvane' ] && file -b '$root/usr/lib/games/solvane/solvane' | grep -q '^ELF.*executable'"
check "the game is stripped" bash -c "file -b '$root/usr/lib/games/solvane/solvane' | grep -q ', stripped'"
check "the story is the built one" cmp -s "$game/a.txt" "$share/a.txt"
check "the icon is the built one" cmp -s "$game/favicon.ico" "$share/favicon.ico"
check "the default settings are the source's, not a player's" cmp -s "$src/data/setting.txt" "$share/setting.txt"
same_listing() { diff <(cd "$1" && ls) <(cd "$2" && ls) >/dev/null; }
check "every picture is packaged" same_listing "$game/png" "$share/png"
check "every track is packaged" same_listing "$game/mp3" "$share/mp3"
check "the pictures are there at all" [ "$(ls "$share/png" | wc -l)" -gt 10 ]
check "the music is there at all" [ "$(ls "$share/mp3"/*.mp3 | wc -l)" -ge 8 ]
check "no saves are packaged" bash -c "! grep -q '/saves' '$tmp/contents'"
check "nothing outside /usr" bash -c "! awk '{print \$6}' '$tmp/contents' | grep -v '^\./usr/' | grep -vx '\./'"
check "everything owned by root" bash -c "! awk '\$2 != \"root/root\"' '$tmp/contents' | grep -q ."
check "no file writable by others than root" bash -c "! awk '{print \$1}' '$tmp/contents' | grep -v '^l' | grep -q '^.....w\|^........w'"

# The icon theme: the four sizes, each as large as its directory says.
for size in 16 32 48 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/solvane.png
  check "icon ${size}x${size} is ${size} pixels" bash -c "file -b '$png' | grep -q 'PNG image data, $size x $size'"
done

# The menu entry.
desktop=$root/usr/share/applications/org.solvane.Solvane.desktop
check "desktop-file-validate accepts the menu entry" desktop-file-validate "$desktop"
field() { sed -n "s/^$1=//p" "$desktop"; }
check "the entry is named Solvane" [ "$(field Name)" = Solvane ]
check "the entry has a Chinese name" bash -c "sed -n 's/^Name\[zh_CN\]=//p' '$desktop' | grep -qP '\p{Han}'"
check "the entry is a game and an adventure game" [ "$(field Categories)" = "Game;AdventureGame;" ]
check "the entry starts the packaged launcher" [ "$(field Exec)" = /usr/games/solvane ]
check "the launcher it names is in the package" [ -x "$root$(field Exec)" ]
check "the entry's icon is in the package" [ -f "$root/usr/share/icons/hicolor/256x256/apps/$(field Icon).png" ]

# The metainfo.
metainfo=$root/usr/share/metainfo/org.solvane.Solvane.metainfo.xml
if command -v appstreamcli >/dev/null; then
  check "appstreamcli validates the metainfo" appstreamcli validate --no-net "$metainfo"
else
  echo "skip: appstreamcli is not installed"
fi
check "the metainfo launches the packaged menu entry" grep -q '<launchable type="desktop-id">org.solvane.Solvane.desktop</launchable>' "$metainfo"

# The dependencies: the libraries the linker saw, and what the game loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for pkg in libc6 libstdc++6 libqt5core5a libqt5gui5 libqt5qml5 libqt5quick5 libgstreamer1.0-0 \
    qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls2 \
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good libespeak-ng1 espeak-ng-data fonts-wqy-microhei libopencc1.1 libopencc-data; do
  check "depends on $pkg" grep -qxF "$pkg" < <(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
done
# The music is our own GStreamer chain: Qt Multimedia is neither linked nor loaded.
check "does not depend on Qt Multimedia" test -z "$(grep -o libqt5multimedia5 <<<"$depends")"
check "recommends ALSA's output" grep -qx gstreamer1.0-alsa <<<"$(dpkg-deb -f "$deb" Recommends)"
check "is in the games section" [ "$(dpkg-deb -f "$deb" Section)" = games ]
check "is built for this machine" [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ]

if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" > "$tmp/lintian" 2>&1
  cat "$tmp/lintian"
  check "lintian reports no error" bash -c "! grep -q '^E:' '$tmp/lintian'"
else
  echo "skip: lintian is not installed"
fi

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all package checks passed"

#!/usr/bin/env bash
# The launcher against a scratch install: every player gets a folder of their
# own, a second start reuses it, what the game writes lands there and nowhere
# else, and a reinstall never touches the player's settings or saves.
# A stub stands in for the game (SOLVANE_EXE) where the test needs to see
# what the game saw; the real game is started once at the end.
set -u
build="${1:?usage: tst_launcher.sh BUILD_DIR}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

prefix="$tmp/inst prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
launcher="$prefix/games/solvane"
data="$prefix/share/games/solvane"
[ -x "$launcher" ] && [ -f "$data/a.txt" ] || { echo "FAIL: launcher or data not installed"; exit 1; }
snapshot() { (cd "$prefix" && find . -printf '%p %y %l\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot > "$tmp/prefix.before"

# The stub records where it ran and what it found, then writes as the game
# does: its settings and a save.
cat > "$tmp/stub" <<'STUB'
#!/bin/sh
n=$(cat "$STUB_LOG/runs" 2>/dev/null || echo 0); n=$((n + 1)); echo "$n" > "$STUB_LOG/runs"
pwd -P > "$STUB_LOG/cwd.$n"
printf '%s|' "$@" > "$STUB_LOG/args.$n"
cp setting.txt "$STUB_LOG/setting.$n"
cat saves/save.txt > "$STUB_LOG/saves.$n" 2>/dev/null
printf '1\n0.7\n0.5\n0.5\n' > setting.txt.tmp && mv setting.txt.tmp setting.txt
echo "$n" >> saves/save.txt
exit "${STUB_EXIT:-0}"
STUB
chmod +x "$tmp/stub"
mkdir -p "$tmp/log" "$tmp/home1" "$tmp/home2" "$tmp/xdg one"
export STUB_LOG="$tmp/log"
run() { # HOME XDG_DATA_HOME(or -) args...
  local home=$1 xdg=$2; shift 2
  if [ "$xdg" = - ]; then
    env -u XDG_DATA_HOME HOME="$home" SOLVANE_EXE="$tmp/stub" "$launcher" "$@"
  else
    env HOME="$home" XDG_DATA_HOME="$xdg" SOLVANE_EXE="$tmp/stub" "$launcher" "$@"
  fi
}
same() { cmp -s "$1" "$2"; }
real_dir() { [ -d "$1" ] && [ ! -L "$1" ]; }
links_to() { [ -L "$1" ] && [ "$(readlink -f "$1")" = "$(readlink -f "$2")" ]; }

# First start: the folder is made with the default settings, saves/ and links.
folder="$tmp/xdg one/solvane"
run "$tmp/home1" "$tmp/xdg one" --one "two words"; rc=$?
check "first start succeeds" [ "$rc" -eq 0 ]
check "the game runs in the player's folder" same <(readlink -f "$folder") "$tmp/log/cwd.1"
check "arguments reach the game" same <(printf -- '--one|two words|') "$tmp/log/args.1"
check "setting.txt starts as the installed default" same "$tmp/log/setting.1" "$data/setting.txt"
check "saves/ is made" real_dir "$folder/saves"
check "saves/ starts empty" [ ! -s "$tmp/log/saves.1" ]
for name in a.txt png mp3 favicon.ico; do
  check "$name links to the installed game" links_to "$folder/$name" "$data/$name"
done
check "setting.txt is the player's own file" [ -f "$folder/setting.txt" -a ! -L "$folder/setting.txt" ]
check "no leftover from copying setting.txt" [ -z "$(find "$folder" -maxdepth 1 -name 'setting.txt.new*')" ]
check "HOME is left alone when XDG_DATA_HOME is set" [ -z "$(ls -A "$tmp/home1")" ]

# Second start: the same folder, with what the game wrote last time.
run "$tmp/home1" "$tmp/xdg one"
check "second start runs in the same folder" same "$tmp/log/cwd.1" "$tmp/log/cwd.2"
check "second start sees the settings written" same <(printf '1\n0.7\n0.5\n0.5\n') "$tmp/log/setting.2"
check "second start sees the save written" same <(echo 1) "$tmp/log/saves.2"

# The game's exit status is the launcher's.
STUB_EXIT=7 run "$tmp/home1" "$tmp/xdg one"; rc=$?
check "the game's exit status comes back" [ "$rc" -eq 7 ]

# A second player, with the default place under their home.
run "$tmp/home2" -
folder2="$tmp/home2/.local/share/solvane"
check "a second player gets their own folder" same <(readlink -f "$folder2") "$tmp/log/cwd.4"
check "a second player starts with the default settings" same "$tmp/log/setting.4" "$data/setting.txt"
check "a second player starts without saves" [ ! -s "$tmp/log/saves.4" ]
check "the first player's saves are untouched" same <(printf '1\n2\n3\n') "$folder/saves/save.txt"

# A relative XDG_DATA_HOME is not a valid one: the default place is used.
(cd "$tmp" && run "$tmp/home2" "relative")
check "a relative XDG_DATA_HOME is ignored" same <(readlink -f "$folder2") "$tmp/log/cwd.5"
check "nothing made under the relative XDG_DATA_HOME" [ ! -e "$tmp/relative" ]

# Reinstalling (an upgrade) with a new default, and links left by an older
# install: the links are renewed, the player's files kept.
cp "$folder/setting.txt" "$tmp/player-setting"
cp "$folder/saves/save.txt" "$tmp/player-saves"
printf '2\n0.1\n0.1\n0.1\n' > "$data/setting.txt"
ln -sfn "$tmp/old-install/a.txt" "$folder/a.txt"
rm "$folder/mp3"
rm "$folder/png" && mkdir "$folder/png"
run "$tmp/home1" "$tmp/xdg one" 2> "$tmp/err"
check "an upgrade keeps the player's settings" same "$tmp/player-setting" "$tmp/log/setting.6"
check "an upgrade keeps the player's saves" same "$tmp/player-saves" "$tmp/log/saves.6"
check "a stale link is renewed" links_to "$folder/a.txt" "$data/a.txt"
check "a missing link is made again" links_to "$folder/mp3" "$data/mp3"
check "a folder the player put in place of a link is kept" real_dir "$folder/png"
check "and the launcher says so" grep -q "keeping.*png" "$tmp/err"
cmake --install "$build" --prefix "$prefix" >/dev/null

# Started through a link of its own (as from another bin directory).
rm "$folder2/a.txt"
mkdir -p "$tmp/bin" && ln -s "$launcher" "$tmp/bin/solvane"
env HOME="$tmp/home2" XDG_DATA_HOME= SOLVANE_EXE="$tmp/stub" "$tmp/bin/solvane"; rc=$?
check "a linked launcher starts the game" [ "$rc" -eq 0 ]
check "a linked launcher finds the installed game" links_to "$folder2/a.txt" "$data/a.txt"

# Without the installed files it says so and makes no folder.
mkdir -p "$tmp/bare/games" && cp "$launcher" "$tmp/bare/games/solvane"
env HOME="$tmp/home3" XDG_DATA_HOME= SOLVANE_EXE="$tmp/stub" "$tmp/bare/games/solvane" 2> "$tmp/err"; rc=$?
check "missing game files: the launcher fails" [ "$rc" -ne 0 ]
check "missing game files: it says so" grep -q "missing" "$tmp/err"
check "missing game files: no folder made" [ ! -e "$tmp/home3" ]

# The menu entry installed with it starts this launcher, quoted for the
# space in the prefix.
entry="$prefix/share/applications/org.solvane.Solvane.desktop"
check "the installed menu entry is valid" desktop-file-validate "$entry"
check "the menu entry's command is this launcher" \
  [ "$(sed -n 's/^Exec=//p' "$entry")" = "\"$launcher\"" ]

# Nothing the game or launcher did landed in the installed files.
snapshot > "$tmp/prefix.after"
check "the install is unchanged" same "$tmp/prefix.before" "$tmp/prefix.after"

# The real game through the launcher: it repairs the player's short settings
# file in the player's folder (proof that it runs there) and keeps running.
real_home="$tmp/home4"
mkdir -p "$real_home/.local/share/solvane"
printf '0\n' > "$real_home/.local/share/solvane/setting.txt"
env -u XDG_DATA_HOME -u SOLVANE_EXE HOME="$real_home" timeout 6 "$launcher" > "$tmp/game.log" 2>&1; rc=$?
check "the real game keeps running until stopped (status $rc)" [ "$rc" -eq 124 ]
check "the real game repaired the player's settings in their folder" \
  [ "$(wc -l < "$real_home/.local/share/solvane/setting.txt")" -eq 4 ]
snapshot > "$tmp/prefix.after"
check "the real game wrote nothing into the install" same "$tmp/prefix.before" "$tmp/prefix.after"

if [ "$failures" -ne 0 ]; then
  echo "--- game log"; cat "$tmp/game.log" 2>/dev/null
  echo "$failures check(s) failed"; exit 1
fi
echo "all launcher checks passed"

# Sourced by the set-up and test scripts: configure <build dir> [cmake options]
# configures the tree with Ninja. A tree made earlier with another generator
# loses its cache (CMake cannot switch), never the game folder's settings and saves.
configure() {
  local dir=$1
  shift
  if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$dir/CMakeCache.txt"; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
  fi
  cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
}

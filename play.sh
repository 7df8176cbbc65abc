#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and starts it from
# its ready-to-play directory (build/game).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"

game_dir="${SOLVANE_BUILD_DIR:-$here/build}/game"
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  cat >&2 <<MSG
Solvane is built and ready in $game_dir, but there is no display to open its
window on (DISPLAY is ${DISPLAY:-not set}).
Play it on a desktop session: cd "$game_dir" && ./solvane
From another machine, log in with X forwarding (ssh -X) and run the same.
To check that it starts without any screen, run it on a virtual display:
  xvfb-run -a -s "-screen 0 1280x800x24" $0
MSG
  exit 1
fi
cd "$game_dir"
exec ./solvane "$@"

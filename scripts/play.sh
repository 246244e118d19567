#!/usr/bin/env bash
# Sets up what is missing, builds the game and its folder of sounds, pictures
# and maps, and starts it with sound.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh"

cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target quorvane quorvane-editor game_folder

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Quorvane necesita un escritorio (no hay DISPLAY) / Quorvane needs a desktop session (no DISPLAY)." >&2
  exit 1
fi

# Started outside its game folder, the game plays in the user's own folder
# (~/.local/share/quorvane): the reports, saved games and maps kept there
# outlive build/, and the sounds and pictures are reached by links to
# build/game. A folder named on the command line is played in instead.
cd "$root"
exec "$root/build/game/quorvane" "$@"

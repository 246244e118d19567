#!/usr/bin/env bash
# Sets up what is missing, builds the game and its folder of sounds, pictures
# and maps, and starts it there with sound.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh"

cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target quorvane game_folder

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Quorvane necesita un escritorio (no hay DISPLAY) / Quorvane needs a desktop session (no DISPLAY)." >&2
  exit 1
fi

# Every file the game reads or writes is named relative to its folder.
cd "$root/build/game"
exec ./quorvane "$@"

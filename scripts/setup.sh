#!/usr/bin/env bash
# Installs the Debian packages Quorvane needs to build, test and play.
# Idempotent: packages already installed are skipped, and nothing is asked.
set -euo pipefail

packages=(
  # toolchain and tests
  g++ make cmake pkg-config libgtest-dev
  # window, menus, dialogs and their Spanish texts
  qt6-base-dev libqt6opengl6-dev qt6-translations-l10n
  # drawing and sound
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libopenal-dev
  # the game's voice, sounds and pictures are generated at build time
  espeak-ng sox python3-pil fonts-dejavu-core
  # a display for the window tests and for playing without a desktop; Xlib
  # sends keys through the display server in a window test
  xvfb xauth libx11-dev
  # what a screen reader receives, listened to from outside the game in a test
  at-spi2-core python3-pyatspi dbus-daemon
  # fuzzing
  clang libclang-rt-14-dev
  # the desktop entry and metainfo are checked by the desktop's own tools;
  # the teacher's report pages are checked in a real browser
  desktop-file-utils appstream chromium
  # the teacher's spreadsheets are opened in a real spreadsheet in a test
  libreoffice-calc-nogui
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: every package is installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

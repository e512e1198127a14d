#!/usr/bin/env bash
# Installs the Debian packages Tonsmith needs to build, test and run, when
# any of them is missing. Uses sudo when not root.
set -euo pipefail

pkgs=(
  build-essential cmake clang clang-format libclang-rt-14-dev
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  librtaudio-dev libsndfile1-dev
  csound csound-doc
  pulseaudio pulseaudio-utils
  xvfb xauth xterm xdotool x11-utils xfonts-base fonts-dejavu-core
  xfce4-terminal lxterminal gnome-terminal mate-terminal tilix terminator qterminal sakura kitty
  at-spi2-core python3-pyatspi dbus
  qt6-gtk-platformtheme qt6ct x11-apps
  sox ffmpeg gdb
  desktop-file-utils
  librsvg2-bin lintian appstream man-db
)

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs, as root, every Debian package Zenthar needs to build, run and test; skips what is there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev libepoxy-dev libassimp-dev libfontconfig-dev libx11-dev
  libgl1-mesa-dri libegl-mesa0 libegl1
  timgm6mb-soundfont fonts-ipafont-gothic fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils openbox imagemagick sox bc
  weston libdecor-0-plugin-1-cairo libxtst-dev
  appstream desktop-file-utils man-db
  python3 python3-pil python3-numpy
  pulseaudio pulseaudio-utils
  pipewire pipewire-bin wireplumber pipewire-pulse dbus-daemon
  clang libclang-rt-14-dev
  lintian
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

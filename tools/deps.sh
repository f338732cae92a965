#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing need on Debian 12; skips what is there.
set -euo pipefail
pkgs=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev qt6-multimedia-dev
  libqt6opengl6-dev qt6-qpa-plugins libgl-dev libglx-dev
  gstreamer1.0-plugins-base
  xvfb xauth xdotool imagemagick x11-apps
  fonts-dejavu-core fonts-liberation fonts-liberation2 fonts-comic-neue
  sox python3 poppler-utils
  pulseaudio pulseaudio-utils
  libarchive-dev nettle-dev zlib1g-dev zip unzip
  qt6-translations-l10n dpkg-dev file desktop-file-utils appstream lintian
  openssh-server sshfs samba smbnetfs
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

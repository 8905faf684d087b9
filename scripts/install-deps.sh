#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvendale need.
# Only packages that are missing are installed; safe to run again.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  libx11-dev libxinerama-dev libhunspell-dev hunspell-en-us
  libreoffice-impress libreoffice-writer libreoffice-dev libmd4c-dev
  fonts-liberation fonts-dejavu-core
  dbus-daemon xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick poppler-utils strace unzip orca
  desktop-file-utils appstream lintian dpkg-dev file clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # Through sudo when not run as root.
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

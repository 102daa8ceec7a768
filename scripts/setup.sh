#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run the program.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n libxcb1-dev
  libgtest-dev libgsf-1-dev
  libcups2-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  xvfb xauth
  desktop-file-utils
  # What the tests run beside the program: another clipboard owner and a window manager on
  # the virtual display, the readers of printed PDFs and pictures, and the independent
  # readers of written files.
  xclip openbox poppler-utils imagemagick python3 python3-olefile
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

#!/usr/bin/env bash
# Installs every Debian 12 package needed to build, test and run TilvarBD.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build g++
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6xml6
  libqt6gui6 # its plugins/imageformats/libqjpeg.so reads the editor's JPEG picture
  fonts-dejavu-core
  pkg-config xsltproc libxslt1-dev poppler-utils
  clang libclang-rt-14-dev
  qt6-charts-dev libqt6opengl6-dev # the windows' charts (its CMake files need the OpenGL ones)
  libzint-dev # price tags' Code 128 barcodes
  zbar-tools  # tests read the tags' barcodes back
  desktop-file-utils # the package check validates the menu entry
)
if [ "${TILVAR_WITH_SCREENSHOT:-0}" = 1 ]; then
  packages+=(xvfb xauth xdotool imagemagick chromium)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

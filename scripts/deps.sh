#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
set -euo pipefail
PKGS=(build-essential cmake ninja-build ccache
      # Qt; the Charts module's CMake package needs the OpenGL module's development files, which
      # qt6-charts-dev only recommends.
      qt6-base-dev qt6-charts-dev libqt6opengl6-dev
      libjpeg62-turbo-dev libgmock-dev libbenchmark-dev
      # The help file: its compiler (chmcmd) and the CHM reader its test uses.
      fp-utils libchm-bin
      # Help opens the help file with the desktop's program for .chm files: the viewer, and
      # xdg-open with the file-type probe it needs outside a desktop environment.
      xchm xdg-utils file
      # The program without a display, and a font for the windows and the tests.
      xvfb xauth fonts-dejavu-core)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

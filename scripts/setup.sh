#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need (the
# man pages and icons are made at build time; the installed files are checked).
# Safe to run again: only what is missing is installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config libspng-dev libdeflate-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-translations-l10n
  qt6-qpa-plugins libgl-dev libx11-dev libxcb1-dev
  fonts-ipafont-gothic xvfb xauth
  clang-format-14 time
  libcups2-dev cups cups-client printer-driver-cups-pdf poppler-utils
  help2man librsvg2-bin desktop-file-utils appstream bash-completion xdotool
  nlohmann-json3-dev parallel qt6-l10n-tools qt6-svg-dev
)

"$(dirname "$0")/install-packages.sh" "${packages[@]}"

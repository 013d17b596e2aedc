#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need (the
# man pages and icons are made at build time; the installed files are checked).
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config libspng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-translations-l10n
  qt6-qpa-plugins libgl-dev libx11-dev libxcb1-dev
  fonts-ipafont-gothic xvfb xauth
  clang libclang-rt-14-dev clang-format-14 time
  libcups2-dev cups cups-client printer-driver-cups-pdf poppler-utils
  help2man librsvg2-bin desktop-file-utils appstream bash-completion xdotool
  nlohmann-json3-dev parallel qt6-l10n-tools
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

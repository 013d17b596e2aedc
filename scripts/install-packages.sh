#!/usr/bin/env bash
# Installs those of the Debian packages named that are missing, with sudo when
# not root: scripts/install-packages.sh PACKAGE... Refreshes apt's lists first,
# and only when something is missing, so a machine that has them all needs
# neither the network nor root.
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

#!/usr/bin/env bash
# Sets up, builds and runs Pelto Tool on a picture: scripts/run.sh [picture.bmp]
# (the bundled sample by default). The window opens on the current display;
# without one, run it as: xvfb-run -a scripts/run.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DPELTO_BUILD_GUI=ON -DPELTO_BUILD_TESTS=OFF

input="${1:-$root/samples/badge.bmp}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: run it as  xvfb-run -a scripts/run.sh $*" >&2
  exit 1
fi
exec "$root/build/app/PeltoTool" "$input"

#!/usr/bin/env bash
# Sets up, builds and runs Pelto Tool: scripts/run.sh [picture.bmp]
# Until the window exists this makes a button from the picture (the bundled
# sample by default) with pelto-cli and writes it to out/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DPELTO_BUILD_TESTS=OFF

input="${1:-$root/samples/badge.bmp}"
mkdir -p "$root/out"
output="$root/out/$(basename "${input%.*}")-button.bmp"
"$root/build/cli/pelto-cli" "$input" "$output" --pick 0,0,10 --angle 135 --contrast 160 --width 8 --shape round
echo "wrote $output"

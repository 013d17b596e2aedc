#!/usr/bin/env bash
# Peak memory of pelto-cli (load, one pick, MakeButton at width 30, save) as a
# share of the BMP's size, on a square picture and on a one-row picture.
#   bench/memory.sh BUILD_DIR
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
set -euo pipefail

build=${1:?usage: bench/memory.sh BUILD_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/pelto-bench" --write-memory-pictures "$work" >/dev/null

bevel=(--pick 0,0,0 --width 30 --shape round --angle 135)
printf '%-18s %10s %14s %16s\n' picture "bmp MB" "peak RSS MB" "peak RSS / bmp"
for picture in "$work"/square-4096.bmp "$work"/row-6000000.bmp; do
  bytes=$(stat -c %s "$picture")
  rss_kb=$(/usr/bin/time -f %M "$build/cli/pelto-cli" "$picture" "$work/out.bmp" "${bevel[@]}" 2>&1 |
    tail -1)
  awk -v name="$(basename "$picture" .bmp)" -v b="$bytes" -v r="$rss_kb" 'BEGIN {
    printf "%-18s %10.1f %14.1f %15.2fx\n", name, b / 1048576, r / 1024, r * 1024 / b }'
done
echo "command: /usr/bin/time -f %M $build/cli/pelto-cli IN OUT ${bevel[*]}"

#!/usr/bin/env bash
# Times pelto-cli on a logo on transparency, PNG in and out, width 30, against
# a bevel of the alpha through ImageMagick on the same file, the two commands
# alternated, and reports pelto-cli's peak memory over the decoded picture
# (4 bytes a pixel).
#   bench/png-peer.sh BUILD_DIR [RUNS] [SIZE]
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
# ImageMagick is installed from Debian when missing.
set -euo pipefail

build=${1:?usage: bench/png-peer.sh BUILD_DIR [RUNS] [SIZE]}
runs=${2:-5}
size=${3:-2048}
cli=$build/cli/pelto-cli
source "$(dirname "$0")/peer-setup.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The benchmark logo, its background made transparent.
"$build/bench/pelto-bench" --write-logo "$size" "$work/logo.bmp" >/dev/null
"$magick" "$work/logo.bmp" -alpha set -transparent "$("$magick" "$work/logo.bmp" \
  -format '%[pixel:p{0,0}]' info:)" "$work/logo.png"

ours=(--width 30 --shape round --angle 135)
theirs=(\( +clone -alpha extract -blur 0x5 -shade 135x30 -auto-level \) -compose hardlight -composite)
best_ours="" best_theirs=""
for _ in $(seq "$runs"); do
  a=$(ms "$cli" "$work/logo.png" "$work/pelto.png" "${ours[@]}")
  b=$(ms "$magick" "$work/logo.png" "${theirs[@]}" "$work/im.png")
  if [ -z "$best_ours" ] || [ "$a" -lt "$best_ours" ]; then best_ours=$a; fi
  if [ -z "$best_theirs" ] || [ "$b" -lt "$best_theirs" ]; then best_theirs=$b; fi
done
rss_kb=$(/usr/bin/time -f %M "$cli" "$work/logo.png" "$work/pelto.png" "${ours[@]}" 2>&1 >/dev/null | tail -1)
awk -v s="$size" -v a="$best_ours" -v b="$best_theirs" -v r="$rss_kb" 'BEGIN {
  printf "%d² logo on transparency: pelto-cli %d ms, ImageMagick %d ms, %.0fx; ", s, a, b, b / (a > 0 ? a : 1)
  printf "peak memory %.1f MB = %.2fx the decoded picture\n", r / 1024, r * 1024 / (s * s * 4) }'
echo "commands: $cli IN OUT ${ours[*]}"
echo "          $magick IN ${theirs[*]} OUT"
echo "best of $runs alternated runs each; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

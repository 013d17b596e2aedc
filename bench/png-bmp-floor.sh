#!/usr/bin/env bash
# Times pelto-cli on the benchmark logo as a PNG on transparency (in and out)
# and as a BMP (in and out, picking the background), against a plain copy of
# the BMP with dd conv=fsync, the three commands alternated; best of RUNS.
#   bench/png-bmp-floor.sh BUILD_DIR [RUNS] [SIZE]
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
# ImageMagick (to make the PNG) is installed from Debian when missing.
set -euo pipefail

build=${1:?usage: bench/png-bmp-floor.sh BUILD_DIR [RUNS] [SIZE]}
runs=${2:-9}
size=${3:-2048}
cli=$build/cli/pelto-cli
source "$(dirname "$0")/peer-setup.sh"

# The files are written next to the current folder's, on the disk being measured.
work=$(mktemp -d -p .)
trap 'rm -rf "$work"' EXIT
"$build/bench/pelto-bench" --write-logo "$size" "$work/logo.bmp" >/dev/null
"$magick" "$work/logo.bmp" -alpha set -transparent "$("$magick" "$work/logo.bmp" \
  -format '%[pixel:p{0,0}]' info:)" "$work/logo.png"

bevel=(--width 30 --shape round --angle 135)
best() { if [ -z "$1" ] || [ "$2" -lt "$1" ]; then echo "$2"; else echo "$1"; fi; }
png="" bmp="" copy=""
for _ in $(seq "$runs"); do
  png=$(best "$png" "$(ms "$cli" "$work/logo.png" "$work/out.png" "${bevel[@]}")")
  bmp=$(best "$bmp" "$(ms "$cli" "$work/logo.bmp" "$work/out.bmp" --pick 0,0,0 "${bevel[@]}")")
  copy=$(best "$copy" "$(ms dd if="$work/logo.bmp" of="$work/copy.bmp" bs=16M conv=fsync status=none)")
done
png_rss=$(/usr/bin/time -f %M "$cli" "$work/logo.png" "$work/out.png" "${bevel[@]}" 2>&1 >/dev/null | tail -1)
bmp_rss=$(/usr/bin/time -f %M "$cli" "$work/logo.bmp" "$work/out.bmp" --pick 0,0,0 "${bevel[@]}" 2>&1 >/dev/null | tail -1)
awk -v s="$size" -v p="$png" -v b="$bmp" -v c="$copy" -v pr="$png_rss" -v br="$bmp_rss" \
  -v bs="$(stat -c %s "$work/logo.bmp")" -v ps="$(stat -c %s "$work/out.png")" 'BEGIN {
  printf "%d² logo: PNG %d ms, BMP %d ms, dd copy %d ms; PNG / BMP %.2fx, BMP / copy %.2fx\n", s, p, b, c, p / b, b / c
  printf "peak RSS: PNG run %.1f MB = %.2fx the decoded RGBA; BMP run %.1f MB = %.2fx the BMP; PNG written %d bytes\n",
    pr / 1024, pr * 1024 / (s * s * 4), br / 1024, br * 1024 / bs, ps }'
echo "commands: $cli IN.png OUT.png ${bevel[*]}"
echo "          $cli IN.bmp OUT.bmp --pick 0,0,0 ${bevel[*]}"
echo "          dd if=IN.bmp of=COPY.bmp bs=16M conv=fsync"
echo "best of $runs alternated runs each; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

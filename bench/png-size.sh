#!/usr/bin/env bash
# Compares the PNG files the program writes with ImageMagick's for the same
# pictures: the benchmark pictures at 1024², 2048² and 4096² and the sample.
#   bench/png-size.sh BUILD_DIR
# BUILD_DIR must hold pelto-bench (-DPELTO_BUILD_BENCH=ON).
# ImageMagick is installed from Debian when missing.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:?usage: bench/png-size.sh BUILD_DIR}
bench=$build/bench/pelto-bench
source "$(dirname "$0")/peer-setup.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-png-pictures "$work" >/dev/null
cp "$root/samples/badge.bmp" "$work/"

printf '%-12s %12s %12s %7s %9s %7s\n' picture "pelto bytes" "IM bytes" ratio "pelto ms" "IM ms"
for picture in "$work"/*.bmp; do
  name=$(basename "$picture" .bmp)
  ours=$(ms "$bench" --bmp-to-png "$picture" "$work/$name-pelto.png")
  theirs=$(ms "$magick" "$picture" "$work/$name-im.png")
  a=$(stat -c %s "$work/$name-pelto.png")
  b=$(stat -c %s "$work/$name-im.png")
  ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')
  printf '%-12s %12s %12s %7s %9s %7s\n' "$name" "$a" "$b" "$ratio" "$ours" "$theirs"
done
echo "commands: $bench --bmp-to-png IN OUT; $magick IN OUT"
echo "ratio = pelto / ImageMagick; times include reading the BMP; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

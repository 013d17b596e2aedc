#!/usr/bin/env bash
# Times pelto-cli (load, one pick, MakeButton at width 30, save) against a
# shaped bevel through ImageMagick on the same pictures, in one session, and
# checks that every thread count writes the same bytes.
#   bench/peers.sh BUILD_DIR [RUNS]
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
# ImageMagick is installed from Debian when missing.
set -euo pipefail

build=${1:?usage: bench/peers.sh BUILD_DIR [RUNS]}
runs=${2:-5}
cli=$build/cli/pelto-cli
source "$(dirname "$0")/peer-setup.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/pelto-bench" --write-pictures "$work" >/dev/null

# Best wall-clock time of $runs runs, in milliseconds.
best_ms() {
  local best=""
  for _ in $(seq "$runs"); do
    local t
    t=$(ms "$@")
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
  done
  echo "$best"
}

bevel=(--pick 0,0,0 --width 30 --shape round --angle 135)
printf '%-16s %10s %12s %12s %10s %14s %s\n' picture "bmp MB" "pelto ms" "pelto -t1 ms" "IM ms" "IM / pelto" "peak RSS / bmp"
for picture in "$work"/*.bmp; do
  name=$(basename "$picture" .bmp)
  mb=$(awk -v b="$(stat -c %s "$picture")" 'BEGIN { printf "%.1f", b / 1048576 }')
  pelto=$(best_ms "$cli" "$picture" "$work/out-all.bmp" "${bevel[@]}")
  single=$(best_ms "$cli" "$picture" "$work/out-1.bmp" "${bevel[@]}" --threads 1)
  cmp -s "$work/out-all.bmp" "$work/out-1.bmp" || { echo "$name: --threads 1 wrote other bytes" >&2; exit 1; }
  im=$(best_ms "$magick" "$picture" \( +clone -blur 0x5 -shade 135x30 \) -compose hardlight \
    -composite "$work/out-im.bmp")
  rss_kb=$(/usr/bin/time -f %M "$cli" "$picture" "$work/out-all.bmp" "${bevel[@]}" 2>&1 >/dev/null | tail -1)
  ratio=$(awk -v a="$im" -v b="$pelto" 'BEGIN { printf "%.0fx", a / (b > 0 ? b : 1) }')
  memory=$(awk -v r="$rss_kb" -v b="$(stat -c %s "$picture")" 'BEGIN { printf "%.2fx", r * 1024 / b }')
  printf '%-16s %10s %12s %12s %10s %14s %s\n' "$name" "$mb" "$pelto" "$single" "$im" "$ratio" "$memory"
done
echo "commands: $cli IN OUT ${bevel[*]} [--threads 1]"
echo "          $magick IN ( +clone -blur 0x5 -shade 135x30 ) -compose hardlight -composite OUT"
echo "best of $runs runs each; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

#!/usr/bin/env bash
# pelto-cli end to end on a logo BMP (load, pick the background, width 30,
# the careful save with its sync) against a plain copy of the same file with
# dd conv=fsync on the same disk, the two run in turn RUNS times; prints each
# one's median and the median of the pairs' ratios.
#   bench/cli-vs-copy.sh BUILD_DIR [RUNS] [SIZE]
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
# The files are written in a folder made in the current one, on the disk measured.
set -euo pipefail

build=${1:?usage: bench/cli-vs-copy.sh BUILD_DIR [RUNS] [SIZE]}
runs=${2:-21}
size=${3:-2048}
cli=$build/cli/pelto-cli
work=$(mktemp -d -p .)
trap 'rm -rf "$work"' EXIT
"$build/bench/pelto-bench" --write-logo "$size" "$work/logo.bmp" >/dev/null

button=("$cli" "$work/logo.bmp" "$work/out.bmp" --pick "0,0,0" --width 30)
copy=(dd if="$work/logo.bmp" of="$work/copy.bmp" bs=1M conv=fsync status=none)
us() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
# One of each first, so that both files exist and are in the page cache.
"${button[@]}"
"${copy[@]}"
: >"$work/times"
for _ in $(seq "$runs"); do
  echo "$(us "${button[@]}") $(us "${copy[@]}")" >>"$work/times"
done
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
cli_ms=$(awk '{ print $1 / 1000 }' "$work/times" | median)
copy_ms=$(awk '{ print $2 / 1000 }' "$work/times" | median)
ratio=$(awk '{ print $1 / $2 }' "$work/times" | median)
printf '%d² BMP: pelto-cli %.1f ms, dd copy %.1f ms (medians); pelto-cli / copy %.2fx (median of %d pairs)\n' \
  "$size" "$cli_ms" "$copy_ms" "$ratio" "$runs"
echo "commands: $cli IN.bmp OUT.bmp --pick 0,0,0 --width 30"
echo "          dd if=IN.bmp of=COPY.bmp bs=1M conv=fsync status=none"
echo "$(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

#!/usr/bin/env bash
# How pelto-cli's cost grows with the picture: wall time and peak memory
# (maximum resident set, as /usr/bin/time -v reports it) on a logo (shapes on
# a plain background) of 512², 2048², 8192² and 16384² pixels, as a 24-bit
# BMP and as a 24-bit PNG, picking the background at width 30; beside
# ImageMagick 6's convert -shade on the same files, whose every run is
# stopped after a minute. Prints a Markdown table.
#   bench/cost-growth.sh BUILD_DIR [SIZES...]
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
# Needs ImageMagick 6 (Debian's imagemagick) and GNU time; the 16384² run
# takes about 2 GB of disk and 4 GB of memory. Files go in a folder made in
# the current one, on the disk measured.
set -euo pipefail

build=${1:?usage: bench/cost-growth.sh BUILD_DIR [SIZES...]}
shift
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(512 2048 8192 16384)
cli=$build/cli/pelto-cli
magick=/usr/bin/convert-im6.q16
for tool in "$magick" /usr/bin/time; do
  [ -x "$tool" ] || { echo "bench/cost-growth.sh: $tool is missing (apt-get install imagemagick time)" >&2; exit 2; }
done
work=$(mktemp -d -p .)
trap 'rm -rf "$work"' EXIT

# "SECONDS PEAK_MB", or "- -" when the command failed or ran out of time.
measure() {
  local start end
  start=$(date +%s%N)
  if /usr/bin/time -f %M -o "$work/rss" timeout 60 "$@" >/dev/null 2>"$work/err"; then
    end=$(date +%s%N)
    awk -v t=$(((end - start) / 1000000)) -v k="$(tail -1 "$work/rss")" \
      'BEGIN { printf "%.3f %.0f\n", t / 1000, k / 1024 }'
  else
    echo "- -"
  fi
}
# The faster of two runs for the small sizes; one run for the large.
best() {
  local first second
  first=$(measure "$@")
  [ "$size" -gt 2048 ] && { echo "$first"; return; }
  second=$(measure "$@")
  printf '%s\n%s\n' "$first" "$second" | sort -g | head -1
}

echo "| picture | pelto-cli s | pelto-cli peak MB | convert -shade s | convert -shade peak MB | pelto-cli ns per pixel |"
echo "|---|---:|---:|---:|---:|---:|"
for size in "${sizes[@]}"; do
  "$build/bench/pelto-bench" --write-logo "$size" "$work/logo.bmp" >/dev/null
  # Width 0 leaves the picture as it is: the same logo as a PNG, by pelto-cli itself.
  "$cli" "$work/logo.bmp" "$work/logo.png" --pick 0,0,0 --width 0
  for kind in bmp png; do
    out=BMP3:$work/shade.bmp
    [ $kind = png ] && out=PNG24:$work/shade.png
    read -r p_s p_mb <<<"$(best "$cli" "$work/logo.$kind" "$work/out.$kind" --pick 0,0,0 --width 30)"
    read -r m_s m_mb <<<"$(best "$magick" "$work/logo.$kind" -shade 135x30 -type TrueColor "$out")"
    awk -v s="$size" -v k="${kind^^}" -v ps="$p_s" -v pm="$p_mb" -v ms="$m_s" -v mm="$m_mb" 'BEGIN {
      printf "| %d² %s | %s | %s | %s | %s | %s |\n", s, k, ps, pm, ms, mm,
        ps == "-" ? "-" : sprintf("%.1f", ps * 1e9 / (s * s)) }'
  done
  rm -f "$work"/logo.* "$work"/out.* "$work"/shade.*
done
echo
echo "pelto-cli: $cli IN OUT --pick 0,0,0 --width 30"
echo "ImageMagick: $magick IN -shade 135x30 -type TrueColor BMP3:OUT.bmp (PNG24:OUT.png for a PNG)"
echo "each under /usr/bin/time -f %M and timeout 60; - : failed or over a minute"
echo "$(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg); $("$magick" -version | head -1)"

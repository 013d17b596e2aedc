#!/usr/bin/env bash
# How pelto-cli's cost grows with the picture: wall time and peak memory
# (maximum resident set, as /usr/bin/time -v reports it) on a logo (shapes on
# a plain background) of 512², 2048², 8192² and 16384² pixels, as a 24-bit
# BMP and as a 24-bit PNG, picking the background at width 30; beside
# ImageMagick 6's convert -shade on the same files, whose every run is
# stopped after a minute; and for the BMP, a copy of the file with dd
# conv=fsync, what the disk alone takes. Debian's policy for ImageMagick (256 MiB of memory,
# 128 megapixels) refuses 8192² with "cache resources exhausted", so convert
# runs under a policy of the script's own that lifts those limits.
# Prints a Markdown table.
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
cat >"$work/policy.xml" <<'POLICY'
<policymap>
  <policy domain="resource" name="memory" value="16GiB"/>
  <policy domain="resource" name="map" value="16GiB"/>
  <policy domain="resource" name="width" value="64KP"/>
  <policy domain="resource" name="height" value="64KP"/>
  <policy domain="resource" name="area" value="4GP"/>
  <policy domain="resource" name="disk" value="32GiB"/>
</policymap>
POLICY
export MAGICK_CONFIGURE_PATH=$work

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

echo "| picture | pelto-cli s | pelto-cli peak MB | pelto-cli ns per pixel | convert -shade s | convert -shade peak MB | dd copy s |"
echo "|---|---:|---:|---:|---:|---:|---:|"
for size in "${sizes[@]}"; do
  "$build/bench/pelto-bench" --write-logo "$size" "$work/logo.bmp" >/dev/null
  # Width 0 leaves the picture as it is: the same logo as a PNG, by pelto-cli itself.
  "$cli" "$work/logo.bmp" "$work/logo.png" --pick 0,0,0 --width 0
  for kind in bmp png; do
    out=BMP3:$work/shade.bmp
    [ $kind = png ] && out=PNG24:$work/shade.png
    read -r p_s p_mb <<<"$(best "$cli" "$work/logo.$kind" "$work/out.$kind" --pick 0,0,0 --width 30)"
    read -r m_s m_mb <<<"$(best "$magick" "$work/logo.$kind" -shade 135x30 -type TrueColor "$out")"
    c_s=""
    [ $kind = bmp ] && read -r c_s _ <<<"$(best dd if="$work/logo.bmp" of="$work/copy.bmp" bs=1M conv=fsync status=none)"
    awk -v s="$size" -v k="${kind^^}" -v ps="$p_s" -v pm="$p_mb" -v ms="$m_s" -v mm="$m_mb" -v cs="$c_s" 'BEGIN {
      printf "| %d² %s | %s | %s | %s | %s | %s | %s |\n", s, k, ps, pm,
        ps == "-" ? "-" : sprintf("%.1f", ps * 1e9 / (s * s)), ms, mm, cs }'
  done
  rm -f "$work"/logo.* "$work"/out.* "$work"/shade.* "$work"/copy.*
done
echo
echo "pelto-cli: $cli IN OUT --pick 0,0,0 --width 30"
echo "ImageMagick: MAGICK_CONFIGURE_PATH=DIR $magick IN -shade 135x30 -type TrueColor BMP3:OUT.bmp"
echo "             (PNG24:OUT.png for a PNG; DIR/policy.xml lifts the memory, area and disk limits)"
echo "dd copy: dd if=IN.bmp of=COPY.bmp bs=1M conv=fsync status=none"
echo "each under /usr/bin/time -f %M and timeout 60; - : failed or over a minute"
echo "$(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg); $("$magick" -version | head -1)"

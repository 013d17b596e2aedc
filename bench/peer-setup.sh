# Sourced by the peer scripts: sets $magick to ImageMagick 6's convert,
# installing it from Debian when missing, and gives ms, a command's
# wall-clock time in milliseconds.
magick=/usr/bin/convert-im6.q16
[ -x "$magick" ] ||
  "$(dirname "${BASH_SOURCE[0]}")/../scripts/install-packages.sh" imagemagick

ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

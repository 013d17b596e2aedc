# Sourced by the peer scripts: sets $magick to ImageMagick 6's convert,
# installing it from Debian when missing, and gives ms, a command's
# wall-clock time in milliseconds.
magick=/usr/bin/convert-im6.q16
if ! [ -x "$magick" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends imagemagick
fi

ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

# Sourced by the peer scripts: sets $magick to ImageMagick 6's convert,
# installing it from Debian when missing.
magick=/usr/bin/convert-im6.q16
if ! [ -x "$magick" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends imagemagick
fi

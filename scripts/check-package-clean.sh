#!/usr/bin/env bash
# Installs a pelto-tool package into a fresh minimal Debian 12 (debootstrap, in
# a folder of its own) and runs both programs there, so that only what the
# package's dependencies bring is present: scripts/check-package-clean.sh DEB
# Needs root and Debian's package archive; the folder is removed at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb=$(realpath "$1")
export DEBIAN_FRONTEND=noninteractive
"$root/scripts/install-packages.sh" debootstrap

system=$(mktemp -d /var/tmp/pelto-clean.XXXXXX)
trap 'umount "$system/proc" 2>/dev/null || true; rm -rf "$system"' EXIT
debootstrap --variant=minbase bookworm "$system" >"$system.log" 2>&1 ||
  { cat "$system.log"; rm -f "$system.log"; exit 1; }
rm -f "$system.log"
cp /etc/resolv.conf "$system/etc/resolv.conf"
mount -t proc proc "$system/proc"
cp "$deb" "$root/samples/badge.bmp" "$system/tmp/"
in_system() { chroot "$system" env -i PATH=/usr/bin:/bin HOME=/tmp DEBIAN_FRONTEND=noninteractive "$@"; }

# Without the recommended packages: the dependencies alone must do.
{ in_system apt-get update -qq &&
  in_system apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")"; } \
  >"$system/tmp/apt.log" 2>&1 || { cat "$system/tmp/apt.log"; exit 1; }
echo "clean system: installed with $(in_system dpkg-query -W -f='${db:Status-Abbrev}\n' | grep -c '^ii') packages in all"

failures=0
fail() {
  echo "check-package-clean: $*" >&2
  failures=$((failures + 1))
}
for program in pelto-cli PeltoTool; do
  in_system "$program" --version || fail "$program --version failed"
done
in_system pelto-cli /tmp/badge.bmp /tmp/button.bmp --pick 0,0,10 --width 8 ||
  fail "pelto-cli made no button"
# Started on a picture, the window program runs until it is stopped; a missing
# library or plugin ends it at once.
status=0
in_system timeout 5 env QT_QPA_PLATFORM=offscreen PeltoTool /tmp/badge.bmp 2>"$system/tmp/err" ||
  status=$?
[ "$status" = 124 ] || { cat "$system/tmp/err"; fail "PeltoTool ended with $status on its own"; }

if [ "$failures" -ne 0 ]; then
  echo "check-package-clean: $failures problem(s)" >&2
  exit 1
fi
echo "check-package-clean: both programs work on a minimal Debian 12 with only the package's dependencies"

#!/usr/bin/env bash
# Builds the Debian package out/pelto-tool_VERSION_ARCH.deb (or in the folder
# given): scripts/package.sh [out-dir]. The build uses Debian's build flags and
# the prefix /usr; lintian checks the package, then scripts/check-package.sh
# installs it with apt-get, checks the programs and purges it again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out=$(realpath -m "${1:-$root/out}")
cd "$root" # dpkg-buildflags maps this folder out of the debug paths
"$root/scripts/setup.sh"

"$root/scripts/install-packages.sh" lintian

# Hardened as Debian's own packages are: fortified, with full RELRO and bind-now;
# the man pages made afresh carry the changelog's date rather than the build's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$root/dist/debian/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH
build="$root/build-deb"
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPELTO_BUILD_GUI=ON -DPELTO_BUILD_TESTS=OFF \
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"

mkdir -p "$out"
rm -f "$out"/pelto-tool_*.deb
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/pelto-tool_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb"

# Errors fail the script; warnings and notes are shown.
lintian --display-info --pedantic "$deb"
echo "lintian: no errors"

"$root/scripts/check-package.sh" "$deb"

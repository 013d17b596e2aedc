#!/usr/bin/env bash
# Installs a pelto-tool package with apt-get, checks what it installed
# (scripts/check-installed.sh /usr), purges it and checks that nothing it
# wrote remains: scripts/check-package.sh pelto-tool_VERSION_ARCH.deb
# Needs root; the package is never left installed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb=$(realpath "$1")
export DEBIAN_FRONTEND=noninteractive
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
  echo "check-package: $*" >&2
  failures=$((failures + 1))
}
installed() { dpkg-query -W -f='${Status}' pelto-tool 2>/dev/null | grep -q "install ok installed"; }
packages() { dpkg-query -W -f='${Package}\n' | sort; }
# The folder that holds this clone, where other clones and worktrees beside it
# may be building meanwhile; only the clone itself when it lies in /.
work=$(dirname "$root")
[ "$work" != / ] || work=$root
# Every path of the system but the volatile, per-user and work folders, apt's
# and dpkg's own records, and man-db's cache (which its trigger tags afresh
# after any package with man pages).
files() {
  find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
    -o -path /var/tmp -o -path /var/log -o -path /var/cache/apt -o -path /var/lib/apt \
    -o -path /var/cache/man \
    -o -path /var/lib/dpkg -o -path /root -o -path /home -o -path "$work" \) \
    -prune -o -print | sort
}

if installed; then
  echo "check-package: pelto-tool was installed; purging it first"
  apt-get purge -y -qq pelto-tool >/dev/null
fi
packages >"$scratch/packages.before"
files >"$scratch/files.before"

apt-get install -y -qq "$deb" >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log"
  exit 1
}
trap 'installed && apt-get purge -y -qq pelto-tool >/dev/null; rm -rf "$scratch"' EXIT
echo "check-package: installed $(dpkg-query -W -f='${Package} ${Version}' pelto-tool)"

# Only the package itself: its dependencies were all there (scripts/setup.sh).
packages >"$scratch/packages.installed"
extra=$(comm -13 "$scratch/packages.before" "$scratch/packages.installed" | grep -vx pelto-tool || true)
[ -z "$extra" ] || fail "apt-get installed more than the package: $extra"
[ "$(command -v PeltoTool)" = /usr/bin/PeltoTool ] || fail "PeltoTool is not /usr/bin/PeltoTool"
[ "$(command -v pelto-cli)" = /usr/bin/pelto-cli ] || fail "pelto-cli is not /usr/bin/pelto-cli"
dpkg -L pelto-tool >"$scratch/package.files"
not_root=$(xargs -d '\n' stat -c '%U:%G %n' <"$scratch/package.files" | grep -v '^root:root ' || true)
[ -z "$not_root" ] || fail "not owned by root: $not_root"
"$root/scripts/check-installed.sh" /usr || fail "the installed package does not work"

apt-get purge -y -qq pelto-tool >/dev/null
installed && fail "pelto-tool is still installed after the purge"
files >"$scratch/files.after"
left=$(diff "$scratch/files.before" "$scratch/files.after" || true)
[ -z "$left" ] || fail "the file list changed between before the install and after the purge: $left"
# The caches that dpkg's triggers rewrite name nothing of it any more.
caches=(/usr/share/applications/mimeinfo.cache /usr/share/icons/hicolor/icon-theme.cache)
for cache in "${caches[@]}"; do
  [ ! -e "$cache" ] || ! grep -aq pelto-tool "$cache" || fail "$cache still names pelto-tool"
done
ls /var/lib/dpkg/info/pelto-tool.* >/dev/null 2>&1 && fail "dpkg still keeps records of pelto-tool"

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures problem(s)" >&2
  exit 1
fi
echo "check-package: installed, worked from /usr/bin, purged; the system's $(wc -l <"$scratch/files.after") paths are as before"

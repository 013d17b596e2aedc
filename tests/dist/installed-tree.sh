#!/usr/bin/env bash
# Installs the build tree BUILD_DIR under a fresh prefix, as "cmake --install"
# does for a user, and checks what it installed: installed-tree.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
"$root/scripts/check-installed.sh" "$prefix"

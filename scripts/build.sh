#!/usr/bin/env bash
# Configures and builds one tree: scripts/build.sh <build-dir> [cmake options...]
# with Ninja, or with the generator CMAKE_GENERATOR names ("Unix Makefiles").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"
shift
generator="${CMAKE_GENERATOR:-Ninja}"
# A tree made by another generator cannot be configured again with this one.
if [ -f "$dir/CMakeCache.txt" ] &&
  ! grep -qx "CMAKE_GENERATOR:INTERNAL=$generator" "$dir/CMakeCache.txt"; then
  rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi
cmake -S "$root" -B "$dir" -G "$generator" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"

#!/usr/bin/env bash
# Builds the libraries the engine needs for the web, zlib, libspng and libdeflate,
# from Debian's own sources with emcc, into DIR/prefix (lib/, include/), and
# again with threads' atomics into DIR/prefix-threads for the threaded engine:
# scripts/web-deps.sh DIR. Emscripten's cache has no ports to offer them, and
# this way the browser decodes PNG files with the very code the desktop uses.
# Built once; a second run finds them in DIR and does nothing.
set -euo pipefail
dir="$(mkdir -p "$1" && cd "$1" && pwd)"
prefix="$dir/prefix"
for built in lib/libspng.a lib/libz.a lib/libdeflate.a json; do
  for p in "$prefix" "$prefix-threads"; do
    [ -e "$p/$built" ] || missing=1
  done
done
[ -z "${missing:-}" ] && exit 0

# apt-get source needs the source lists beside the binary ones.
if ! apt-get source --print-uris -qq zlib >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  for list in /etc/apt/sources.list.d/*.sources; do
    grep -q '^Types:.*deb-src' "$list" && continue
    sed 's/^Types: deb$/Types: deb-src/' "$list" | $SUDO tee "${list%.sources}-src.sources" >/dev/null
  done
  $SUDO apt-get update -qq
fi
"$(dirname "$0")/install-packages.sh" dpkg-dev zlib1g-dev libspng-dev libdeflate-dev nlohmann-json3-dev emscripten

src="$dir/src"
rm -rf "$src" && mkdir -p "$src"
# The versions the desktop build links, whichever mirror still has them.
version() { dpkg-query -W -f='${source:Version}' "$1"; }
(cd "$src" && apt-get source -qq "zlib=$(version zlib1g-dev)" "libspng=$(version libspng-dev)" \
  "libdeflate=$(version libdeflate-dev)" \
  >"$dir/source.log" 2>&1) || { cat "$dir/source.log"; exit 1; }
zlib=$(find "$src" -maxdepth 1 -type d -name 'zlib-*' | head -1)
spng=$(find "$src" -maxdepth 1 -type d -name 'libspng-*' | head -1)
deflate=$(find "$src" -maxdepth 1 -type d -name 'libdeflate-*' | head -1)

# One variant: build VARIANT-PREFIX EXTRA-FLAGS...
build() {
  local out="$1" objs="$dir/obj-$(basename "$1")"
  shift
  local flags=(-O3 -msimd128 "$@")
  rm -rf "$objs" && mkdir -p "$objs/z" "$objs/spng" "$objs/deflate" "$out/lib" "$out/include"
  for c in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
    emcc "${flags[@]}" -DHAVE_UNISTD_H -c "$zlib/$c.c" -o "$objs/z/$c.o"
  done
  emar rcs "$out/lib/libz.a" "$objs"/z/*.o
  cp "$zlib/zlib.h" "$zlib/zconf.h" "$out/include/"

  emcc "${flags[@]}" -DSPNG_STATIC -I"$out/include" -c "$spng/spng/spng.c" -o "$objs/spng/spng.o"
  emar rcs "$out/lib/libspng.a" "$objs/spng/spng.o"
  cp "$spng/spng/spng.h" "$out/include/"

  # Its processor-specific files are empty on WebAssembly.
  for c in "$deflate"/lib/*.c; do
    emcc "${flags[@]}" -I"$deflate" -c "$c" -o "$objs/deflate/$(basename "$c" .c).o"
  done
  emar rcs "$out/lib/libdeflate.a" "$objs"/deflate/*.o
  cp "$deflate/libdeflate.h" "$out/include/"
  # The JSON reader is headers alone: its own folder, not the host's /usr/include.
  mkdir -p "$out/json" && cp -r /usr/include/nlohmann "$out/json/"
}
build "$prefix"
build "$prefix-threads" -pthread
echo "web-deps: zlib, libspng and libdeflate built into $prefix and $prefix-threads"

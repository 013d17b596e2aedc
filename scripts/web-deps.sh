#!/usr/bin/env bash
# Builds the libraries the engine needs for the web, zlib, libspng and libdeflate,
# from Debian's own sources with emcc, into DIR/prefix (lib/, include/):
# scripts/web-deps.sh DIR. Emscripten's cache has no ports to offer them, and
# this way the browser decodes PNG files with the very code the desktop uses.
# Built once; a second run finds them in DIR and does nothing.
set -euo pipefail
dir="$(mkdir -p "$1" && cd "$1" && pwd)"
prefix="$dir/prefix"
for built in lib/libspng.a lib/libz.a lib/libdeflate.a json; do
  [ -e "$prefix/$built" ] || missing=1
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
rm -rf "$src" && mkdir -p "$src" "$prefix/lib" "$prefix/include"
# The versions the desktop build links, whichever mirror still has them.
version() { dpkg-query -W -f='${source:Version}' "$1"; }
(cd "$src" && apt-get source -qq "zlib=$(version zlib1g-dev)" "libspng=$(version libspng-dev)" \
  "libdeflate=$(version libdeflate-dev)" \
  >"$dir/source.log" 2>&1) || { cat "$dir/source.log"; exit 1; }
zlib=$(find "$src" -maxdepth 1 -type d -name 'zlib-*' | head -1)
spng=$(find "$src" -maxdepth 1 -type d -name 'libspng-*' | head -1)
deflate=$(find "$src" -maxdepth 1 -type d -name 'libdeflate-*' | head -1)

flags=(-O3 -msimd128)
objs="$dir/obj"
rm -rf "$objs" && mkdir -p "$objs/z" "$objs/spng" "$objs/deflate"
for c in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
  emcc "${flags[@]}" -DHAVE_UNISTD_H -c "$zlib/$c.c" -o "$objs/z/$c.o"
done
emar rcs "$prefix/lib/libz.a" "$objs"/z/*.o
cp "$zlib/zlib.h" "$zlib/zconf.h" "$prefix/include/"

emcc "${flags[@]}" -DSPNG_STATIC -I"$prefix/include" -c "$spng/spng/spng.c" -o "$objs/spng/spng.o"
emar rcs "$prefix/lib/libspng.a" "$objs/spng/spng.o"
cp "$spng/spng/spng.h" "$prefix/include/"

# Its processor-specific files are empty on WebAssembly.
for c in "$deflate"/lib/*.c; do
  emcc "${flags[@]}" -I"$deflate" -c "$c" -o "$objs/deflate/$(basename "$c" .c).o"
done
emar rcs "$prefix/lib/libdeflate.a" "$objs"/deflate/*.o
cp "$deflate/libdeflate.h" "$prefix/include/"
# The JSON reader is headers alone: its own folder, not the host's /usr/include.
mkdir -p "$prefix/json" && cp -r /usr/include/nlohmann "$prefix/json/"
echo "web-deps: zlib, libspng and libdeflate built into $prefix"

#!/usr/bin/env bash
# Builds the web site into DIR: scripts/build-web.sh DIR. DIR gets index.html,
# the module pelto.mjs with its worker, the engine (pelto-engine.mjs and its
# .wasm, and the threaded pelto-engine-threads.mjs with its .wasm and
# .worker.js), package.json and README.md: a static site, and an npm package
# (`npm pack` in DIR). Installs what it needs (Debian's emscripten), builds
# zlib, libspng and libdeflate once (scripts/web-deps.sh) and both engines with emcmake, in
# PELTO_WEB_BUILD (default build-web/), with CMAKE_GENERATOR's generator
# (default Ninja; "Unix Makefiles" works as well).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -eq 1 ] || { echo "usage: scripts/build-web.sh DIR" >&2; exit 2; }
site="$(mkdir -p "$1" && cd "$1" && pwd)"
# A site built before is built again from nothing, so that no file of an
# older build stays in it (the service worker would keep it); any other
# folder with files in it is refused.
if [ -n "$(ls -A "$site")" ]; then
  [ -f "$site/pelto.mjs" ] || { echo "build-web: $site holds files but no site" >&2; exit 2; }
  find "$site" -mindepth 1 -delete
fi
build="${PELTO_WEB_BUILD:-$root/build-web}"
generator="${CMAKE_GENERATOR:-Ninja}"

"$root/scripts/install-packages.sh" emscripten nodejs cmake ninja-build qt6-l10n-tools librsvg2-bin \
  nlohmann-json3-dev dpkg-dev
# Debian's emcc finds its JavaScript parser among Debian's node modules.
export NODE_PATH=/usr/share/nodejs
"$root/scripts/web-deps.sh" "$build/deps"

for variant in "" -threads; do
  tree="$build/cmake-${generator// /-}$variant"
  deps="$build/deps/prefix$variant"
  threads=OFF
  if [ -n "$variant" ]; then threads=ON; fi
  emcmake cmake -S "$root" -B "$tree" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
    -DPELTO_WEB_DEPS="$deps" -DPELTO_WEB_THREADS=$threads >/dev/null
  if [ -n "$variant" ]; then
    cmake --build "$tree" -j2 --target pelto_engine
    cp "$tree"/web/pelto-engine-threads.worker.js "$site/"
  else
    # The page's values come from the one-thread tree alone.
    cmake --build "$tree" -j2 --target pelto_engine page_values_module
    cp "$tree"/web/page-values.mjs "$site/"
  fi
  cp "$tree"/web/pelto-engine*.mjs "$tree"/web/pelto-engine*.wasm "$site/"
done
cp "$root"/web/{pelto.mjs,pelto.d.ts,pelto-worker.mjs,glue.mjs,pelto-error.mjs,worker-client.mjs,engine-choice.mjs,spawn.mjs,spawn-web.mjs,crc32.mjs} "$root"/web/index.html "$root"/web/README.md \
  "$site/"
version=$(sed -nE 's/^project\(PeltoTool VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
sed "s/@VERSION@/$version.0/" "$root/web/package.json.in" >"$site/package.json"
# The page: index.html and its files, over the placeholder.
"$root/web/page/build-page.sh" "$site" >/dev/null
echo "build-web: the site is in $site"

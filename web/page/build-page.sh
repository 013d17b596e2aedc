#!/usr/bin/env bash
# Puts the page into a built site (after the engine is in it):
#   web/page/build-page.sh SITE
# its files, the English table made from translations/pelto_en.ts, the icons
# rendered from the desktop's drawing, and the service worker listing every
# file of the site.
set -euo pipefail
page="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$page/../.." && pwd)"
site="$(cd "$1" && pwd)"

cp "$page"/{index.html,page.css,page.mjs,view.mjs,dial.mjs,texts.mjs,alert.mjs,fields.mjs,button-set.mjs,zip.mjs} \
  "$page/manifest.webmanifest" "$site/"

lconvert=$(command -v lconvert || echo /usr/lib/qt6/bin/lconvert)
po=$(mktemp --suffix=.po)
trap 'rm -f "$po"' EXIT
# As pelto-cli's table: what lrelease would drop stays out.
"$lconvert" -no-obsolete -no-untranslated -of po -o "$po" "$root/translations/pelto_en.ts"
node "$page/make-texts.mjs" "$po" "$site/texts-en.mjs" "$page"/index.html "$page"/*.mjs

cp "$root/dist/icons/pelto-tool.svg" "$site/icon.svg"
for size in 192 512; do
  rsvg-convert --width=$size --height=$size --output="$site/icon-$size.png" "$root/dist/icons/pelto-tool.svg"
done

# The cache's list and its version: the site's files as they now are.
files=$(cd "$site" && find . -type f ! -name sw.js | sed 's|^\./||' | LC_ALL=C sort)
version=$(cd "$site" && echo "$files" | xargs sha256sum | sha256sum | cut -c1-16)
list=$(echo "$files" | sed "s/.*/, '&'/" | paste -sd' ' -)
sed -e "s/@VERSION@/$version/" -e "s|/\* @FILES@ \*/|$list|" "$page/sw.js" > "$site/sw.js"
echo "build-page: the page is in $site"

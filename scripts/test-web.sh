#!/usr/bin/env bash
# The web module's tests: builds the site (scripts/build-web.sh) and runs
# web/test/web-tests.mjs in Node and in Debian's chromium, headless, the
# page's web/test/page-tests.mjs in chromium, and the package as a developer
# installs, type-checks and bundles it (web/test/package-tests.mjs), against
# the desktop build's pelto-cli and light_digest: scripts/test-web.sh [BUILD]
# (BUILD: the desktop build folder, default build/, which must hold both).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
desktop="$(cd "${1:-$root/build}" && pwd)"
site="${PELTO_WEB_BUILD:-$root/build-web}/site"
"$root/scripts/install-packages.sh" chromium
"$root/scripts/build-web.sh" "$site" >/dev/null
"$root/scripts/npm-packages.sh"
# The module against pelto-cli, the page as a user works it, the package.
PELTO_SITE="$site" PELTO_CLI="$desktop/cli/pelto-cli" PELTO_DIGEST="$desktop/web/light_digest" \
  node --test "$root"/web/test/{web-tests,button-set-tests,page-tests,package-tests}.mjs

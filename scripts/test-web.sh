#!/usr/bin/env bash
# The web module's tests: builds the site (scripts/build-web.sh) and runs
# web/test/web-tests.mjs in Node, web/test/browser-tests.mjs (the module and
# the page's main work, served isolated and plainly, and offline) in Debian's
# chromium and firefox-esr, headless, and WebKitGTK's MiniBrowser under Xvfb,
# the rest of the page's web/test/page-tests.mjs in chromium, the button
# states against pelto-cli --states (web/test/button-set-tests.mjs), the package
# as a developer installs, type-checks and bundles it
# (web/test/package-tests.mjs), against the desktop build's pelto-cli and
# light_digest: scripts/test-web.sh [BUILD] (BUILD: the desktop build folder,
# default build/, which must hold both).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
desktop="$(cd "${1:-$root/build}" && pwd)"
site="${PELTO_WEB_BUILD:-$root/build-web}/site"
"$root/scripts/install-packages.sh" chromium firefox-esr webkit2gtk-driver xvfb
"$root/scripts/build-web.sh" "$site" >/dev/null
"$root/scripts/npm-packages.sh"
# The module against pelto-cli, in Node and in the browsers, the page as a
# user works it, the package; two files at a time, the browsers' (which wait
# on the browsers much of the time) beside the others.
PELTO_SITE="$site" PELTO_CLI="$desktop/cli/pelto-cli" PELTO_DIGEST="$desktop/web/light_digest" \
  node --test --test-concurrency=2 \
  "$root"/web/test/{browser-tests,web-tests,button-set-tests,page-tests,package-tests}.mjs

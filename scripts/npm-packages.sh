#!/usr/bin/env bash
# Installs the JavaScript tools package-lock.json pins (ESLint, Prettier,
# puppeteer-core) into node_modules/, once: puppeteer-core drives the system's
# browsers and never downloads one of its own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-packages.sh" nodejs
cd "$root"
# The lock file they were installed from stays beside them.
if ! cmp -s package-lock.json node_modules/.installed-from-lock.json 2>/dev/null; then
  PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --silent
  cp package-lock.json node_modules/.installed-from-lock.json
fi

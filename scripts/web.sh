#!/usr/bin/env bash
# Builds the web site (scripts/build-web.sh) into build-web/site and serves it
# on http://127.0.0.1:8080 (PORT to change it), cross-origin isolated, until Ctrl+C.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
site="${PELTO_WEB_BUILD:-$root/build-web}/site"
"$root/scripts/build-web.sh" "$site"
exec node "$root/web/serve.mjs" "$site" "${PORT:-8080}"

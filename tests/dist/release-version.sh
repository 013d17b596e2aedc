#!/usr/bin/env bash
# The newest release that Debian's changelog and the AppStream metadata record
# is the project's version: release-version.sh VERSION CHANGELOG METAINFO
set -euo pipefail
version=$1
changelog=$(dpkg-parsechangelog -l "$2" -S Version)
metainfo=$(grep -oE '<release [^>]*version="[^"]*"' "$3" | head -n1 | sed -E 's/.*version="([^"]*)"/\1/')
status=0
for record in "changelog $changelog" "metainfo $metainfo"; do
  read -r what recorded <<<"$record"
  if [ "$recorded" != "$version" ]; then
    echo "FAIL: the $what's newest release is '$recorded', the project's version $version" >&2
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "changelog and metainfo: newest release $version"
exit "$status"

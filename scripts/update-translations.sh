#!/usr/bin/env bash
# Brings translations/pelto_en.ts up to date with the texts in the code (the
# windows' tr() and translate() calls and the plain C++ layers' tables), for
# a translator to fill in with Qt Linguist. The build makes the .qm from it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cd "$root"
/usr/lib/qt6/bin/lupdate -no-obsolete -locations none -I . \
  -tr-function-alias QT_TRANSLATE_NOOP+=PELTO_TR_NOOP -source-language ja -target-language en \
  app view print dialogs document image web/page/page-texts.js -ts translations/pelto_en.ts

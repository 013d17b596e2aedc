#!/usr/bin/env bash
# Checks an installed Pelto Tool: scripts/check-installed.sh PREFIX (/usr for
# the package). Every file is in its place, both programs print the project's
# version without a display, pelto-cli makes a button, the desktop entry and
# the AppStream metadata are valid, and PeltoTool, started under Xvfb, shows
# its help file on F1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix=$(realpath "$1")
version=$(sed -nE 's/^project\(PeltoTool VERSION ([^ )]+).*/\1/p' "$root/CMakeLists.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
  echo "check-installed: $*" >&2
  failures=$((failures + 1))
}

sizes=(16 22 24 32 48 64 128 256)
files=(bin/PeltoTool bin/pelto-cli share/pelto-tool/PeltoTool.HLP share/pelto-tool/PeltoTool.en.HLP
  share/applications/pelto-tool.desktop
  share/metainfo/io.github.pelto_tool.PeltoTool.metainfo.xml
  share/icons/hicolor/scalable/apps/pelto-tool.svg
  share/man/man1/PeltoTool.1.gz share/man/man1/pelto-cli.1.gz
  share/bash-completion/completions/pelto-cli
  share/doc/pelto-tool/copyright share/doc/pelto-tool/changelog.gz)
for size in "${sizes[@]}"; do files+=("share/icons/hicolor/${size}x$size/apps/pelto-tool.png"); done
for file in "${files[@]}"; do
  [ -s "$prefix/$file" ] || fail "$prefix/$file is missing"
done
# The installed program must find the help file in the data folder, not beside it.
[ ! -e "$prefix/bin/PeltoTool.HLP" ] || fail "a help file lies beside the installed program"

# Each PNG is the size its folder names (width and height from its header).
for size in "${sizes[@]}"; do
  png="$prefix/share/icons/hicolor/${size}x$size/apps/pelto-tool.png"
  [ "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] ||
    fail "$png is not $size × $size"
done

# --version and --help answer before any window, so the usual platform with no
# display to reach must not matter.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
for program in PeltoTool pelto-cli; do
  answer=$("${no_display[@]}" "$prefix/bin/$program" --version) || fail "$program --version failed"
  [ "$answer" = "$program $version" ] || fail "$program --version says '$answer'"
done
"${no_display[@]}" "$prefix/bin/PeltoTool" --help | grep -qF "/pt FILE PRINTER DRIVER PORT" ||
  fail "PeltoTool --help does not show /pt"

# pelto-cli makes a button of the sample: a BMP of the same size, shaded.
sample="$root/samples/badge.bmp"
for out in button.bmp button.png; do
  "$prefix/bin/pelto-cli" "$sample" "$scratch/$out" --pick 0,0,10 --width 8 --shape round ||
    fail "pelto-cli could not make $out"
done
[ "$(head -c2 "$scratch/button.bmp")" = BM ] && [ "$(stat -c %s "$scratch/button.bmp")" = "$(stat -c %s "$sample")" ] ||
  fail "pelto-cli's button.bmp is not a BMP of the sample's size"
! cmp -s "$sample" "$scratch/button.bmp" || fail "pelto-cli's button.bmp is the sample unchanged"
[ "$(head -c4 "$scratch/button.png" | tail -c3)" = PNG ] || fail "pelto-cli's button.png is not a PNG"

desktop-file-validate "$prefix/share/applications/pelto-tool.desktop" ||
  fail "the desktop entry is not valid"
# The metadata, and that the desktop entry it launches is installed beside it.
appstreamcli validate-tree --no-net "$prefix" >"$scratch/appstream.log" ||
  { cat "$scratch/appstream.log"; fail "the AppStream metadata is not valid in $prefix"; }

# F1 in the main window opens the help window, titled after the help file.
help_title=$(sed -nE 's/.*<title>([^<]*)<\/title>.*/\1/p' "$root/app/resources/PeltoTool.html")
show_help() {
  env -u QT_QPA_PLATFORM "$1" &
  local program=$!
  local window shown=0
  window=$(timeout 30 xdotool search --sync --name '^Pelto Tool$' | head -n1) &&
    xdotool windowfocus --sync "$window" && xdotool key F1 &&
    timeout 30 xdotool search --sync --name "^$2\$" >/dev/null && shown=1
  kill "$program"
  wait "$program" || true
  [ "$shown" = 1 ]
}
HOME="$scratch" xvfb-run -a bash -c "$(declare -f show_help); show_help \"\$@\"" _ "$prefix/bin/PeltoTool" "$help_title" \
  2>"$scratch/window.log" || { cat "$scratch/window.log"; fail "F1 did not show '$help_title'"; }

if [ "$failures" -ne 0 ]; then
  echo "check-installed: $failures problem(s) in $prefix" >&2
  exit 1
fi
echo "check-installed: Pelto Tool $version in $prefix: files, --version, a button, desktop entry, metadata and help on F1"

#!/usr/bin/env bash
# Checks the shape of the code: every layer includes only itself and the
# layers below it (and no Qt below the windows), no source file is longer
# than 400 lines, the C++ is formatted with the committed .clang-format, and
# the JavaScript passes ESLint (eslint.config.mjs) and is formatted by
# Prettier (.prettierrc.json), both as package-lock.json pins them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# folder: the folders it may include from besides itself; "qt" when Qt is allowed.
declare -A allowed=(
  [translations]=""
  [system]=""
  [platform]="system"
  [image]="platform system"
  [engine]="image platform system"
  [document]="engine image platform system"
  [cli]="document engine image platform system"
  [web]="document engine image platform system"
  [dialogs]="engine image platform system qt"
  [view]="dialogs document engine image platform system qt"
  [print]="view dialogs document engine image platform system qt"
  [app]="print view dialogs document engine image platform system qt"
)
layers=(translations system platform image engine document cli web dialogs view print app)

failures=0
fail() {
  echo "check-code: $*" >&2
  failures=$((failures + 1))
}

for layer in "${layers[@]}"; do
  for file in $(git ls-files "$layer" | grep -E '\.(h|cpp)$'); do
    while IFS= read -r target; do
      case "$target" in
        Q*)
          [[ " ${allowed[$layer]} " == *" qt "* ]] || fail "$file includes the Qt header <$target>"
          continue ;;
        ../*|*/../*) fail "$file includes \"$target\" by a relative path"; continue ;;
      esac
      [[ "$target" == */* ]] || continue # the file's own folder
      dir="${target%/*}"
      [ -d "$dir" ] || continue # a system header
      [ "$dir" = "$layer" ] && continue
      [[ " ${allowed[$layer]} " == *" $dir "* ]] || fail "$file ($layer) includes $target"
    done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/p' "$file")
  done
done

while read -r lines file; do
  [ "$file" = total ] && continue
  [ "$lines" -le 400 ] || fail "$file has $lines lines (at most 400)"
done < <(git ls-files '*.h' '*.cpp' | xargs wc -l)

unformatted=$(git ls-files '*.h' '*.cpp' | xargs clang-format-14 --dry-run 2>&1 | grep -c 'warning:' || true)
[ "$unformatted" -eq 0 ] || fail "$unformatted places differ from .clang-format (run clang-format-14 -i)"

"$root/scripts/npm-packages.sh"
mapfile -t scripts < <(git ls-files '*.mjs' '*.js')
npx --no-install eslint --max-warnings 0 "${scripts[@]}" || fail "ESLint finds the faults above"
npx --no-install prettier --check --log-level warn "${scripts[@]}" $(git ls-files '*.d.ts') ||
  fail "the scripts above differ from .prettierrc.json (run npx prettier --write)"

if [ "$failures" -ne 0 ]; then
  echo "check-code: $failures problem(s)" >&2
  exit 1
fi
echo "check-code: layers, file sizes and formatting hold"

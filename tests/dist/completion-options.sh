#!/usr/bin/env bash
# Checks pelto-cli's bash completion against its --help:
#   completion-options.sh PROGRAM COMPLETION
# "--" completes to every option --help lists, each once, an option with
# choices to them, and a picture argument to .bmp and .png files and folders
# only.
set -euo pipefail
. "$(dirname "$0")/help-options.sh"
program=$(realpath "$1")
completion=$(realpath "$2")
bash_completion=/usr/share/bash-completion/bash_completion
[ -r "$bash_completion" ] || { echo "skipped: bash-completion is not installed"; exit 77; }

# What completing the last word of the command line offers, one a line, sorted.
offers() {
  COMPLETION=$completion BASH_COMPLETION=$bash_completion bash --norc -c '
    source "$BASH_COMPLETION"
    source "$COMPLETION" || exit 1
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _pelto_cli "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"' _ "$program" "$@" |
    sort
}

listed=$(help_entries "$program")
[ -n "$listed" ] || fail "$program --help lists no option"
dashes=$(offers --)
for option in $listed; do
  grep -qxF -- "$option" <<<"$dashes" || fail "-- does not complete to $option"
done
twice=$(uniq -d <<<"$dashes")
[ -z "$twice" ] || fail "-- offers more than once: $(tr '\n' ' ' <<<"$twice")"

# Each "--name a|b" entry of --help completes to its choices, as its own word or after "=".
while read -r option choices; do
  want=$(tr '|' '\n' <<<"$choices" | sort)
  [ "$(offers "$option" "")" = "$want" ] || fail "$option does not complete to $choices"
  [ "$(offers "$option=")" = "$want" ] ||
    fail "$option= does not complete to $choices"
done < <("$program" --help | sed -nE 's/^ {1,10}(--[-a-z]+) ([a-z]+(\|[a-z]+)+) .*/\1 \2/p')

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/sub"
touch "$folder/a.bmp" "$folder/B.PNG" "$folder/c.png" "$folder/notes.txt" "$folder/d.bmp.txt"
in_folder() { (cd "$folder" && offers "$@"); }

# A picture argument completes to .bmp and .png files and folders, in any case.
pictures=$(in_folder "")
[ "$pictures" = "$(printf '%s\n' B.PNG a.bmp c.png sub | sort)" ] ||
  fail "a picture argument completes to: $(tr '\n' ' ' <<<"$pictures")"

# Each "--name FILE" entry completes to any file, "--name DIR" to folders, every
# other value (a number, a point with its optional word) to nothing.
while read -r option value; do
  offered=$(in_folder "$option" "")
  if [ "$value" = FILE ]; then
    [ "$offered" = "$(ls -A "$folder" | sort)" ] || fail "$option does not complete to any file"
  elif [ "$value" = DIR ]; then
    [ "$offered" = sub ] || fail "$option does not complete to folders alone"
  else
    [ -z "$offered" ] || fail "$option $value completes to: $(tr '\n' ' ' <<<"$offered")"
  fi
done < <("$program" --help | sed -nE 's/^ {1,10}(--[-a-z]+) ([A-Z][][A-Za-z,]*) .*/\1 \2/p')
finish "$completion: all $(wc -w <<<"$listed") options of $program --help"

#!/usr/bin/env bash
# Checks a generated man page against its program's --help:
#   man-page-options.sh PROGRAM PAGE.1.gz
# every option --help lists is an option entry of the page, and every option it
# mentions appears in the page's text.
set -euo pipefail
. "$(dirname "$0")/help-options.sh"
program=$1
page=$2

# The page as text, without roff's escapes and font changes.
text=$(zcat "$page" | sed -E 's/\\-/-/g; s/\\f[BIRP]//g; s/\\[,\/]//g')
# The option entries: the first line of each tagged paragraph.
entries=$(awk '/^\.TP/ { getline; print }' <<<"$text" | tr ',' '\n' |
  sed -nE 's/^ *(-[-a-zA-Z0-9]+).*/\1/p' | sort -u)

listed=$(help_entries "$program")
[ -n "$listed" ] || fail "$program --help lists no option"
for option in $listed; do
  grep -qxF -- "$option" <<<"$entries" ||
    fail "$page has no entry for $option (help2man needs two spaces before its description)"
done
for option in $(help_mentions "$program"); do
  grep -qE -- "(^|[^-a-zA-Z0-9])$option([^-a-zA-Z0-9]|$)" <<<"$text" ||
    fail "$page never mentions $option"
done
finish "$page: all $(wc -w <<<"$listed") options of $program --help"

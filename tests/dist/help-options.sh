# Sourced by the documentation tests: what a program's --help names.

# The options --help lists as entries ("  --width W  ...", "  -p, /p FILE  ..."),
# one a line.
help_entries() {
  "$1" --help | sed -nE 's/^ {1,10}(-[^ ].*)$/\1/p' | sed -E 's/ {2,}.*//' |
    tr ',' '\n' | sed -nE 's/^ *(-[-a-zA-Z0-9]+).*/\1/p' | sort -u
}

# Every option --help mentions anywhere, entries and prose alike.
help_mentions() {
  "$1" --help | grep -oE '(^|[][ (,])--?[a-zA-Z][-a-zA-Z0-9]*' | sed -E 's/^[][ (,]//' | sort -u
}

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  [ "$failures" -eq 0 ] || exit 1
  echo "$1"
}

#!/usr/bin/env bash
# Times pelto-cli --out-dir against the same pictures made by single runs:
# 60 small pictures in one batch against 60 single runs one after another,
# and 100 pictures of 1024² in one batch against two loops of 50 single runs
# side by side. Each pair alternates, best of RUNS; every batch output is
# checked against the single run's bytes.
#   bench/batch.sh BUILD_DIR [RUNS] [SMALL_SIZE]
# BUILD_DIR must hold pelto-cli and pelto-bench (-DPELTO_BUILD_BENCH=ON).
set -euo pipefail

build=${1:?usage: bench/batch.sh BUILD_DIR [RUNS] [SMALL_SIZE]}
runs=${2:-3}
small=${3:-128}
cli=$build/cli/pelto-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
style=$work/style.json
"$cli" --save-style "$style" --pick 0,0,0 --width 8 --shape round --angle 135

# make_set NAME SIZE COUNT: COUNT copies of one logo under their own names.
make_set() {
  mkdir -p "$work/$1" "$work/$1-batch" "$work/$1-single"
  "$build/bench/pelto-bench" --write-logo "$2" "$work/$1/logo-0.bmp"
  for i in $(seq 1 $(($3 - 1))); do cp "$work/$1/logo-0.bmp" "$work/$1/logo-$i.bmp"; done
}

batch() {
  "$cli" --quiet --style "$style" --out-dir "$work/$1-batch" "$work/$1"/*.bmp 2>/dev/null
}

# singles SET FILE...: one single run a file, one after another.
singles() {
  local set=$1
  shift
  for file in "$@"; do "$cli" --style "$style" "$file" "$work/$set-single/${file##*/}"; done
}

one_loop() {
  singles "$1" "$work/$1"/*.bmp
}

two_loops() {
  local files=("$work/$1"/*.bmp)
  local half=$((${#files[@]} / 2))
  singles "$1" "${files[@]:0:half}" &
  singles "$1" "${files[@]:half}"
  wait
}

ms() {
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

# compare NAME SINGLES: best of $runs, alternated, and the ratio.
compare() {
  local best_batch="" best_single=""
  for _ in $(seq "$runs"); do
    local b s
    b=$(ms batch "$1")
    s=$(ms "$2" "$1")
    if [ -z "$best_batch" ] || [ "$b" -lt "$best_batch" ]; then best_batch=$b; fi
    if [ -z "$best_single" ] || [ "$s" -lt "$best_single" ]; then best_single=$s; fi
  done
  for out in "$work/$1-batch"/*; do
    cmp -s "$out" "$work/$1-single/${out##*/}" || { echo "$out differs from its single run" >&2; exit 1; }
  done
  printf '%-28s %10s %12s %8s\n' "$3" "$best_batch" "$best_single" \
    "$(awk -v a="$best_single" -v b="$best_batch" 'BEGIN { printf "%.2fx", a / (b > 0 ? b : 1) }')"
}

make_set small "$small" 60
make_set large 1024 100
printf '%-28s %10s %12s %8s\n' pictures "batch ms" "singles ms" speedup
compare small one_loop "60 x ${small}² vs 1 loop"
compare large two_loops "100 x 1024² vs 2 loops"
echo "style: $(tr -d ' \n' <"$style")"
echo "best of $runs, alternated; $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg)"

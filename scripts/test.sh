#!/usr/bin/env bash
# Sets up, checks the code's shape, builds and runs every test: the whole
# program and the benchmarks in the normal build,
# each fuzz target over its seed corpus and regression inputs, and every test
# again, the windows' included, under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
shopt -s nullglob
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

# The code's shape first: layers, file sizes, formatting.
bash "$root/scripts/check-code.sh"

# The benchmarks are built too, so that they cannot rot.
"$root/scripts/build.sh" "$root/build" -DPELTO_BUILD_GUI=ON -DPELTO_BUILD_TESTS=ON \
  -DPELTO_BUILD_BENCH=ON -DPELTO_UNITY_BUILD=ON
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

# The print tests run through a private CUPS scheduler of their own; where none
# can start they skip, each saying why. Say which it was.
skipped=$(grep -h -E "^(print|cups-pdf) tests skipped: " \
  "$root/build/Testing/Temporary/LastTest.log" | sort -u || true)
echo "${skipped:-print tests: all ran through a private CUPS scheduler}"

# Each fuzz target replays its seed corpus and regression inputs; a log is shown only on failure.
CC=clang CXX=clang++ "$root/scripts/build.sh" "$root/build-fuzz" -DPELTO_BUILD_FUZZ=ON \
  -DPELTO_BUILD_GUI=OFF -DPELTO_BUILD_TESTS=OFF
replay() {
  local target=$1
  shift
  local inputs=("$@")
  if ! "$root/build-fuzz/fuzz/$target" "${inputs[@]}" >"$root/build-fuzz/$target.log" 2>&1; then
    cat "$root/build-fuzz/$target.log"
    exit 1
  fi
  echo "fuzz replay: $target, ${#inputs[@]} inputs passed"
}
replay fuzz_hostile_file "$root"/fuzz/corpus/*.bmp "$root"/fuzz/regressions/*.bmp
replay fuzz_wide_bevel "$root"/fuzz/corpus-wide/*.bin
replay fuzz_png "$root"/fuzz/corpus-png/*.png
replay fuzz_style "$root"/fuzz/corpus-style/*.json

# The web module in Node and in Debian's chromium, headless, against this
# build's pelto-cli, byte for byte.
"$root/scripts/test-web.sh" "$root/build"

# The plainest build uses CMake's default generator, which makes no output's
# folder by itself: the steps that write into folders of their own (the
# translation, the icons) are built that way too.
cmake -S "$root" -B "$root/build-make" -G "Unix Makefiles" -DPELTO_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build-make" -j "$(nproc)" --target app_resources_1 icons
echo "default generator: the translation and the icons build"

# Freed memory is filled, so that a use after free in the toolkit's own code
# (which is not instrumented) crashes instead of reading stale bytes.
# Each test program runs its cases in one process there.
"$root/scripts/build.sh" "$root/build-sanitize" -DPELTO_SANITIZE=ON -DPELTO_BUILD_GUI=ON \
  -DPELTO_BUILD_TESTS=ON -DPELTO_UNITY_BUILD=ON -DPELTO_TESTS_PER_PROGRAM=ON \
  -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-sanitize" &&
  QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:max_free_fill_size=4096:free_fill_byte=165 \
    UBSAN_OPTIONS=print_stacktrace=1:abort_on_error=1 \
    ctest --output-on-failure -j "$(nproc)")

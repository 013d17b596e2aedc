#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole program in the normal build,
# each fuzz target over its seed corpus and regression inputs, and the headless
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
shopt -s nullglob
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

"$root/scripts/build.sh" "$root/build" -DPELTO_BUILD_GUI=ON -DPELTO_BUILD_TESTS=ON
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

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
replay fuzz_wide_bevel "$root"/fuzz/corpus-wide/*.bin "$root"/fuzz/regressions-wide/*.bin

# Qt is left out here: the headless layers are where hostile files are handled.
"$root/scripts/build.sh" "$root/build-sanitize" -DPELTO_SANITIZE=ON -DPELTO_BUILD_GUI=OFF \
  -DPELTO_BUILD_TESTS=ON
(cd "$root/build-sanitize" &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:abort_on_error=1 \
    ctest --output-on-failure -j "$(nproc)")


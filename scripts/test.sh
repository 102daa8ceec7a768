#!/usr/bin/env bash
# Sets up what is missing, then builds and runs every test twice: under AddressSanitizer and
# UndefinedBehaviorSanitizer (build-test), and built as the program users run is built,
# optimised with the row and cell pools on, the checks of the invariants kept (build-opt; the
# sanitizers switch the pools off). A test passes only where it passes in both; the script
# fails when either run fails. Each part prints the time it took.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Runs "$@" and prints how long it took under the name $1.
timed() {
  local name="$1" start=$SECONDS rc=0
  shift
  "$@" || rc=$?
  echo "== $name: $((SECONDS - start)) s (exit $rc)"
  return $rc
}

build() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" -G Ninja -DMORVEL_BENCH=OFF "$@"
  cmake --build "$dir" -j "$jobs"
}

failed=0
timed "sanitizer build: configure and build" \
  build build-test -DCMAKE_BUILD_TYPE=Debug -DMORVEL_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  timed "sanitizer build: tests" ctest --test-dir build-test --output-on-failure -j "$jobs" || failed=1

timed "optimised build: configure and build" \
  build build-opt -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_SANITIZE=OFF -DMORVEL_CHECKS=ON
timed "optimised build: tests" ctest --test-dir build-opt --output-on-failure -j "$jobs" || failed=1

exit $failed

#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: once in a normal
# build with warnings as errors, once more under AddressSanitizer and
# UndefinedBehaviorSanitizer. Window tests run on a virtual display and
# sound on OpenAL's null output, so no screen or sound card is needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/setup.sh"

export ALSOFT_DRIVERS=null
export QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_suite() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -DQUORVANE_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  # One virtual display for the whole run; ctest prints the summary line.
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300
}

echo "== normal build =="
run_suite "$root/build"
if [ "${QUORVANE_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== fuzz smoke run (every target, a few seconds each) =="
  "$root/fuzz/run.sh" --smoke --game-dir "$root/build/game"
fi
if [ "${QUORVANE_SKIP_SANITIZERS:-0}" != 1 ]; then
  echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
  # Mesa's software renderer draws on the calling thread: LeakSanitizer's
  # stop-the-world at exit has been seen to crash among its worker threads.
  export LP_NUM_THREADS=0
  run_suite "$root/build-sanitize" -DQUORVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_BUILD_BENCH=OFF
fi

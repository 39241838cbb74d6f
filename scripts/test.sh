#!/usr/bin/env bash
# Builds and runs every test three times: a plain build, then the libraries and
# their tests under AddressSanitizer + UndefinedBehaviorSanitizer, then the
# threaded tests under ThreadSanitizer. Each variant keeps its own build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
status=0

configure_and_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

run_ctest() {
  local dir=$1; shift
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600 "$@" || status=1
}

echo "== plain build"
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_ctest build

echo "== fuzzing the settings parsers (bounded)"
bash fuzz/run.sh || status=1

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=address,undefined \
  -DQV_BUILD_APP=OFF -DQV_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-asan

echo "== ThreadSanitizer (threaded tests)"
configure_and_build build-tsan -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=thread \
  -DQV_BUILD_APP=OFF -DQV_BUILD_BENCH=OFF
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_ctest build-tsan -L threaded

if [ "$status" -ne 0 ]; then
  echo "Some tests failed."
fi
exit "$status"

#!/usr/bin/env bash
# Builds Pelmora twice (normal, and with AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs the whole test suite on each build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

jobs=$(nproc)
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 600
}

echo "== normal build =="
run_suite build
echo "== sanitizer build =="
run_suite build-asan -DPELMORA_SANITIZE=ON

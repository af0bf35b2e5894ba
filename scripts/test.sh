#!/usr/bin/env bash
# Builds Pelmora twice (normal, and with AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs the whole test suite on each build; then a third time with
# ThreadSanitizer, only the tests of the steps that run on several threads
# and the fuzz replays through them (label "threads"). Every option the suite relies
# on is set here, so that whatever an earlier command left in a build folder's
# cache (the run command builds no tests) does not matter; a build that has no
# tests to run fails. The normal build compiles the benchmarks too, so that
# none of them falls behind the code it measures.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

jobs=$(nproc)
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
# Each test process compiles its own shaders: none reads or races what
# another left in the user's shared shader cache.
export MESA_SHADER_CACHE_DISABLE=true

run_suite() {
  local dir=$1 sanitize=$2 bench=$3
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_SANITIZE="$sanitize" \
    -DPELMORA_BUILD_TESTS=ON -DPELMORA_BUILD_VIEWER=ON -DPELMORA_BUILD_BENCH="$bench" -DPELMORA_FUZZ=OFF
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$jobs" --timeout 600
}

echo "== normal build =="
run_suite build OFF ON
echo "== sanitizer build =="
run_suite build-asan ON OFF
echo "== thread sanitizer build (threaded steps) =="
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_SANITIZE=OFF -DPELMORA_SANITIZE_THREAD=ON \
  -DPELMORA_BUILD_TESTS=ON -DPELMORA_BUILD_VIEWER=OFF -DPELMORA_BUILD_BENCH=OFF -DPELMORA_FUZZ=OFF
cmake --build build-tsan -j "$jobs" --target threaded_preparation_tests xfile_fuzzer xbinary_fuzzer mszip_fuzzer anylayout_fuzzer
ctest --test-dir build-tsan --output-on-failure --no-tests=error -j "$jobs" --timeout 600 -L threads

#!/usr/bin/env bash
# Builds the benchmarks and runs those named (default: all that need no display).
#   scripts/bench.sh [model|texture|render|cost|anim|app ...]   (app: the viewer's frames, on Xvfb)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPELMORA_SANITIZE=OFF -DPELMORA_FUZZ=OFF \
  -DPELMORA_BUILD_BENCH=ON -DPELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
areas=("$@")
[ ${#areas[@]} -gt 0 ] || areas=(model texture render cost anim)
for area in "${areas[@]}"; do
  if [ "$area" = app ]; then
    bench/app/run_frame_bench.sh build-bench
    continue
  fi
  for bench in build-bench/bench/"$area"/*_bench; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench"
  done
done

#!/usr/bin/env bash
# Builds Pelmora and opens the viewer on FILE, or on the bundled sample model.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_BUILD_TESTS=OFF
cmake --build build -j "$(nproc)"

model=${1:-samples/cube.x}
if [ -x build/app/pelmora ] && [ -n "${DISPLAY:-}" ]; then
  exec build/app/pelmora "$model"
fi
echo "No display here (or no viewer built): writing the report of $model instead." >&2
exec build/tools/pelmora-report "$model"

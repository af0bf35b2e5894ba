#!/usr/bin/env bash
# Builds Pelmora and opens the viewer on FILE, or on the bundled sample model.
# Without a display, says so and renders the model to a PNG instead.
set -euo pipefail
# A relative path is taken from where the command was typed.
model=$(realpath -m -- "${1:-$(dirname "$0")/../samples/cube.x}")
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_SANITIZE=OFF \
  -DPELMORA_BUILD_VIEWER=ON -DPELMORA_BUILD_TESTS=OFF -DPELMORA_BUILD_BENCH=OFF -DPELMORA_FUZZ=OFF
cmake --build build -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] && [ -x build/app/pelmora ]; then
  exec build/app/pelmora "$model"
fi
picture=build/$(basename "${model%.*}").png
echo "No display here: rendering $model to $picture instead of opening the viewer." >&2
build/tools/render/pelmora-render "$model" "$picture"
echo "Wrote $picture"

#!/usr/bin/env bash
# Runs the viewer's frame benchmark on a virtual X server: time to the first
# frame with the sample and with a 1000 x 1000 quad grid (1,002,001
# vertices), then frames per second along each draw path.
#   bench/app/run_frame_bench.sh [BUILD-DIR]   (configured with -DPELMORA_BUILD_BENCH=ON)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
bench=$build/bench/app/bench_app_frames
[ -x "$bench" ] || { echo "build $bench first (-DPELMORA_BUILD_BENCH=ON)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" grid "$work/grid.x" 1000

run() { xvfb-run -a -s "-screen 0 1280x1024x24" env NO_AT_BRIDGE=1 GDK_BACKEND=x11 "$@"; }
run "$bench" first-frame samples/cube.x
run "$bench" first-frame "$work/grid.x"
run "$bench" paths samples/cube.x
run "$bench" paths "$work/grid.x"

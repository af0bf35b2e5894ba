// A closed grid for the render benchmarks: a torus of rings x segments
// vertices and as many quads, one material, texture coordinates.
#pragma once

#include "Stopwatch.h"
#include "model/Model.h"

namespace render_bench {

void FillTorusGrid(Model& model, int rings, int segments);

// Wall-clock milliseconds of one call.
using bench_support::Milliseconds;

}  // namespace render_bench

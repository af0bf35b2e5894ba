// A closed grid for the render benchmarks: a torus of rings x segments
// vertices and as many quads, one material, texture coordinates.
#pragma once

#include "model/Model.h"

namespace render_bench {

void FillTorusGrid(Model& model, int rings, int segments);

// Wall-clock milliseconds of one call.
template <typename Step>
double Milliseconds(Step&& step);

}  // namespace render_bench

#include <chrono>

template <typename Step>
double render_bench::Milliseconds(Step&& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

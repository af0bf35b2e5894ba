// Preparation steps on a grid of 1,000,000 vertices and 1,000,000 quads, on
// one thread and on each doubling up to the thread count, so that a machine
// of many cores shows what it gains.
//   render_preparation_bench [--threads N]   (default: every core)
#include "TorusGrid.h"
#include "platform/ParallelFor.h"
#include "render/RenderModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kTargetMilliseconds = 100.0;

struct StepTimes {
    double triangulate, normals, arrays, total;
};

StepTimes MedianTimes(unsigned threads)
{
    platform::SetParallelThreadCount(threads);
    constexpr int kRuns = 5;
    std::vector<double> triangulate, normals, arrays, total;
    for (int run = 0; run < kRuns; ++run) {
        Model model;
        RenderModel render;
        render_bench::FillTorusGrid(model, 1000, 1000);
        triangulate.push_back(render_bench::Milliseconds([&] { model.TriangulateFaces(); }));
        normals.push_back(render_bench::Milliseconds([&] { model.ComputeMeshNormals(0); }));
        arrays.push_back(render_bench::Milliseconds([&] { render.BuildRenderArrays(model); }));
        total.push_back(triangulate.back() + normals.back() + arrays.back());
        if (model.meshes[0].faceCount() != 2'000'000) std::exit(1);
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return {median(triangulate), median(normals), median(arrays), median(total)};
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned threads = platform::ParallelThreadCount();
    for (int k = 1; k + 1 < argc; ++k)
        if (std::string(argv[k]) == "--threads") threads = static_cast<unsigned>(std::max(1, std::atoi(argv[k + 1])));
    std::vector<unsigned> counts;
    for (unsigned count = 1; count < threads; count *= 2) counts.push_back(count);
    counts.push_back(threads);

    std::printf("grid: 1000000 vertices, 1000000 quads -> 2000000 triangles; median of 5 runs, ms\n");
    std::printf("threads  TriangulateFaces  ComputeMeshNormals  BuildRenderArrays  together  vs one thread\n");
    std::vector<StepTimes> times;
    for (const unsigned count : counts) {
        times.push_back(MedianTimes(count));
        const StepTimes& t = times.back();
        std::printf("%7u  %16.1f  %18.1f  %17.1f  %8.1f  %.2fx\n", count, t.triangulate, t.normals, t.arrays, t.total,
                    times.front().total / t.total);
    }
    const bool met = times.back().total <= kTargetMilliseconds;
    std::printf("preparation of the grid on %u threads: %.1f ms (target <= %.0f ms): %s\n", threads, times.back().total,
                kTargetMilliseconds, met ? "met" : "MISSED");
    return met ? 0 : 1;
}

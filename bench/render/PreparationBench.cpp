// Preparation steps on a grid of 1,000,000 vertices and 1,000,000 quads.
#include "TorusGrid.h"
#include "render/RenderModel.h"

#include <algorithm>
#include <cstdio>
#include <vector>

int main()
{
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
        if (model.meshes[0].faceCount() != 2'000'000) return 1;
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("grid: 1000000 vertices, 1000000 quads -> 2000000 triangles; median of %d runs\n", kRuns);
    std::printf("TriangulateFaces    %8.1f ms\n", median(triangulate));
    std::printf("ComputeMeshNormals  %8.1f ms\n", median(normals));
    std::printf("BuildRenderArrays   %8.1f ms\n", median(arrays));
    std::printf("together            %8.1f ms (target < 150 ms)\n", median(total));
    return 0;
}

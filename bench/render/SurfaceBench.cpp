// What the normals a file stores and its vertex colours cost: the split of
// a grid whose every quad has a normal of its own (each vertex drawn four
// times), against the same grid without them, at three sizes.
#include "TorusGrid.h"
#include "render/RenderModel.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Costs {
    double triangulate = 0, split = 0, pose = 0, arrays = 0;
    std::size_t corners = 0, drawn = 0;
    double total() const { return triangulate + split + pose + arrays; }
};

// Every quad's four corners take the quad's own normal (a flat-shaded grid);
// every vertex a colour.
void AddStoredNormals(MeshRecord& mesh)
{
    StoredNormals stored;
    stored.normals.assign(static_cast<std::size_t>(mesh.faceCount()), Vector3{0, 1, 0});
    stored.cornerNormals.reserve(mesh.faces.cornerTotal());
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) stored.cornerNormals.insert(stored.cornerNormals.end(), 4, f);
    mesh.storedNormals = std::move(stored);
    mesh.vertexColors = std::vector<VertexColor>(mesh.vertices.size(), VertexColor{1, 0.5f, 0.25f, 1});
}

Costs Prepare(int side, bool stored)
{
    constexpr int kRuns = 5;
    std::vector<Costs> runs;
    for (int run = 0; run < kRuns; ++run) {
        Model model;
        RenderModel render;
        render_bench::FillTorusGrid(model, side, side);
        if (stored) AddStoredNormals(model.meshes[0]);
        model.ComputeMeshNormals(0);
        Costs costs;
        costs.triangulate = render_bench::Milliseconds([&] { model.TriangulateFaces(); });
        costs.split = render_bench::Milliseconds([&] { render.SplitSurfaces(model); });
        costs.pose = render_bench::Milliseconds([&] { render.PoseMeshes(model, PoseChoice{true}); });
        costs.arrays = render_bench::Milliseconds([&] { render.BuildRenderArrays(model); });
        costs.corners = model.meshes[0].faces.cornerTotal();
        costs.drawn = render.meshes[0].interleavedVertices->size();
        runs.push_back(costs);
    }
    // The fastest run: what the code costs, with the least of whatever else the machine did.
    return *std::min_element(runs.begin(), runs.end(),
                             [](const Costs& a, const Costs& b) { return a.total() < b.total(); });
}

}  // namespace

int main()
{
    std::printf("grids of side x side vertices and quads, drawn as authored; fastest of 5 runs\n");
    std::printf("%-9s %-8s %9s %9s %9s %9s %9s %10s %8s\n", "side", "normals", "drawn", "triang.", "split", "pose",
                "arrays", "together", "ns/corner");
    bool allMet = true;
    std::vector<Costs> split;
    for (const int side : {250, 500, 1000}) {
        const Costs plain = Prepare(side, false);
        const Costs withStored = Prepare(side, true);
        for (const auto& [costs, label] : {std::pair{plain, "computed"}, std::pair{withStored, "stored"}})
            std::printf("%-9d %-8s %9zu %7.1f ms %6.1f ms %6.1f ms %6.1f ms %7.1f ms %8.1f\n", side, label, costs.drawn,
                        costs.triangulate, costs.split, costs.pose, costs.arrays, costs.total(),
                        costs.split * 1e6 / static_cast<double>(costs.corners));
        // Without stored normals the split step looks at the mesh and goes.
        const bool free = plain.split <= 0.01 * plain.total();
        allMet = allMet && free;
        std::printf("side %d: split step without stored normals %.3f ms (target <= 1%% of %.1f ms): %s\n", side,
                    plain.split, plain.total(), free ? "met" : "MISSED");
        split.push_back(withStored);
    }
    // Linear: the time a corner takes stays within 1.5 times the lowest, from
    // a grid that fits the caches to one that does not.
    auto perCorner = [](const Costs& c) { return c.split / static_cast<double>(c.corners); };
    double lowest = perCorner(split[0]), highest = lowest;
    for (const Costs& c : split) lowest = std::min(lowest, perCorner(c)), highest = std::max(highest, perCorner(c));
    const bool linear = highest <= 1.5 * lowest;
    std::printf("vertex split linear in the corners: %s\n", linear ? "met" : "MISSED");
    allMet = allMet && linear;
    return allMet ? 0 : 1;
}

#include "render/RenderModel.h"

namespace {

// Twelve triangles over the eight corners, counter-clockwise seen from
// outside: top, minimum z, minimum x, maximum z, maximum x, bottom.
constexpr std::array<std::int32_t, 36> kBoxTriangles{
    0, 1, 2, 0, 2, 3,  // top
    0, 4, 5, 0, 5, 1,  // minimum z
    1, 5, 6, 1, 6, 2,  // minimum x
    2, 6, 7, 2, 7, 3,  // maximum z
    3, 7, 4, 3, 4, 0,  // maximum x
    4, 7, 6, 4, 6, 5,  // bottom
};

void ComputeMeshBox(std::span<const Vector3> vertices, MeshRenderData& data)
{
    data.boxCorners = {};
    data.boxTriangles = {};
    if (vertices.empty()) return;

    Vector3 low = vertices.front();
    Vector3 high = low;
    for (const Vector3& p : vertices) {
        if (p.x > high.x) high.x = p.x;
        if (p.x < low.x) low.x = p.x;
        if (p.y > high.y) high.y = p.y;
        if (p.y < low.y) low.y = p.y;
        if (p.z > high.z) high.z = p.z;
        if (p.z < low.z) low.z = p.z;
    }
    data.boxCorners = {{
        {high.x, high.y, low.z},
        {low.x, high.y, low.z},
        {low.x, high.y, high.z},
        {high.x, high.y, high.z},
        {high.x, low.y, low.z},
        {low.x, low.y, low.z},
        {low.x, low.y, high.z},
        {high.x, low.y, high.z},
    }};
    data.boxTriangles = kBoxTriangles;
}

}  // namespace

void RenderModel::ComputeBoundingBoxes(const Model& model)
{
    MatchMeshes(model);
    for (std::size_t m = 0; m < meshes.size(); ++m) ComputeMeshBox(Geometry(model, m).vertices, meshes[m]);
}

#include "model/objects/SurfaceRules.h"

#include <algorithm>
#include <cmath>

namespace surface_rules {

void AttachStoredNormals(MeshRecord& mesh, std::vector<Vector3> normals, std::span<const std::uint32_t> faceCorners,
                         std::span<const std::uint32_t> indices)
{
    mesh.storedNormals.reset();
    if (faceCorners.size() != static_cast<std::size_t>(mesh.faceCount()) || indices.size() != mesh.faces.cornerTotal())
        return;
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f)
        if (faceCorners[static_cast<std::size_t>(f)] != static_cast<std::uint32_t>(mesh.faces[f].cornerCount)) return;
    StoredNormals stored;
    stored.cornerNormals.reserve(indices.size());
    for (const std::uint32_t index : indices) {
        if (index >= normals.size()) return;
        stored.cornerNormals.push_back(static_cast<std::int32_t>(index));
    }
    stored.normals = std::move(normals);
    mesh.storedNormals = std::move(stored);
}

void AttachVertexColors(MeshRecord& mesh, std::span<const IndexedColor> entries)
{
    mesh.vertexColors.reset();
    if (entries.size() > mesh.vertices.size()) return;
    std::vector<VertexColor> colors(mesh.vertices.size(), VertexColor{1, 1, 1, 1});
    for (const IndexedColor& entry : entries) {
        if (entry.vertex >= colors.size()) return;
        VertexColor& color = colors[entry.vertex];
        for (std::size_t c = 0; c < color.size(); ++c)
            color[c] = std::isfinite(entry.color[c]) ? std::clamp(entry.color[c], 0.0f, 1.0f) : 0.0f;
    }
    mesh.vertexColors = std::move(colors);
}

}  // namespace surface_rules

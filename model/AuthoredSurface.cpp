#include "model/AuthoredSurface.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

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

std::optional<SplitSurface> SplitByStoredNormals(const MeshRecord& mesh)
{
    if (!mesh.storedNormals || mesh.storedNormals->cornerNormals.size() != mesh.faces.cornerTotal()) return std::nullopt;
    const StoredNormals& stored = *mesh.storedNormals;
    const std::int32_t vertexCount = mesh.vertexCount();
    SplitSurface split;
    split.vertexCount = vertexCount;
    split.corners.reserve(stored.cornerNormals.size());
    std::vector<std::int32_t> normalOf(static_cast<std::size_t>(vertexCount), -1);  // a vertex's own normal
    // The copies, by vertex and normal; drawn indices follow the corners' order alone.
    std::unordered_map<std::uint64_t, std::int32_t> copies;
    std::vector<std::int32_t> copyNormals;

    std::size_t k = 0;
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        for (std::int32_t c = 0; c < face.cornerCount; ++c, ++k) {
            const std::int32_t vertex = face.corners[c];
            const std::int32_t normal = stored.cornerNormals[k];
            if (normal < 0 || static_cast<std::size_t>(normal) >= stored.normals.size()) return std::nullopt;
            if (vertex < 0 || vertex >= vertexCount) {  // a face no path draws: its corner stays as it is
                split.corners.push_back(vertex);
                continue;
            }
            std::int32_t& own = normalOf[static_cast<std::size_t>(vertex)];
            if (own < 0) own = normal;
            if (own == normal) {
                split.corners.push_back(vertex);
                continue;
            }
            const std::uint64_t key = (std::uint64_t{static_cast<std::uint32_t>(vertex)} << 32) |
                                      static_cast<std::uint32_t>(normal);
            const auto [copy, added] =
                copies.try_emplace(key, vertexCount + static_cast<std::int32_t>(split.copiedVertices.size()));
            if (added) {
                split.copiedVertices.push_back(vertex);
                copyNormals.push_back(normal);
            }
            split.corners.push_back(copy->second);
        }
    }

    split.normals.resize(split.drawnCount());
    for (std::size_t v = 0; v < normalOf.size(); ++v)
        if (normalOf[v] >= 0) split.normals[v] = stored.normals[static_cast<std::size_t>(normalOf[v])];
    for (std::size_t c = 0; c < copyNormals.size(); ++c)
        split.normals[static_cast<std::size_t>(vertexCount) + c] = stored.normals[static_cast<std::size_t>(copyNormals[c])];
    return split;
}

#include "model/AuthoredSurface.h"

#include <algorithm>
#include <cmath>

std::optional<SplitSurface> SplitByStoredNormals(const MeshRecord& mesh)
{
    if (!mesh.storedNormals || mesh.storedNormals->cornerNormals.size() != mesh.faces.cornerTotal()) return std::nullopt;
    const StoredNormals& stored = *mesh.storedNormals;
    const std::size_t vertexCount = mesh.vertices.size();
    const std::size_t cornerCount = stored.cornerNormals.size();
    for (const std::int32_t normal : stored.cornerNormals)
        if (normal < 0 || static_cast<std::size_t>(normal) >= stored.normals.size()) return std::nullopt;

    SplitSurface split;
    split.vertexCount = static_cast<std::int32_t>(vertexCount);
    // The corners stay as they are (a corner outside the mesh is one of a face
    // no path draws), until their vertex's turn below.
    split.corners.resize(cornerCount);
    // The corners of each vertex, in face order: counted, then placed.
    std::vector<std::uint32_t> starts(vertexCount + 1, 0);
    {
        std::size_t k = 0;
        for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
            const FaceRecord face = mesh.faces[f];
            for (std::int32_t c = 0; c < face.cornerCount; ++c, ++k) {
                const std::int32_t vertex = face.corners[c];
                split.corners[k] = vertex;
                if (vertex >= 0 && static_cast<std::size_t>(vertex) < vertexCount) ++starts[static_cast<std::size_t>(vertex) + 1];
            }
        }
    }
    for (std::size_t v = 0; v < vertexCount; ++v) starts[v + 1] += starts[v];
    std::vector<std::uint32_t> cornersOf(starts[vertexCount]);
    {
        std::vector<std::uint32_t> filled(starts.begin(), starts.end() - 1);
        for (std::size_t k = 0; k < cornerCount; ++k) {
            const std::int32_t vertex = split.corners[k];
            if (vertex >= 0 && static_cast<std::size_t>(vertex) < vertexCount)
                cornersOf[filled[static_cast<std::size_t>(vertex)]++] = static_cast<std::uint32_t>(k);
        }
    }

    // Vertex by vertex: its first corner's normal keeps the vertex's place,
    // each other normal gets one copy. What a normal was given is kept by
    // normal, marked with the vertex it was given for: linear in the corners.
    constexpr std::int32_t kNone = -1;
    std::vector<std::int32_t> givenFor(stored.normals.size(), kNone), givenAs(stored.normals.size(), kNone);
    std::vector<std::int32_t> copyNormals;
    split.normals.assign(vertexCount, Vector3{});
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const auto vertex = static_cast<std::int32_t>(v);
        for (std::uint32_t i = starts[v]; i < starts[v + 1]; ++i) {
            const std::uint32_t k = cornersOf[i];
            const auto normal = static_cast<std::size_t>(stored.cornerNormals[k]);
            if (givenFor[normal] != vertex) {
                givenFor[normal] = vertex;
                if (i == starts[v]) {
                    givenAs[normal] = vertex;
                    split.normals[v] = stored.normals[normal];
                } else {
                    givenAs[normal] = static_cast<std::int32_t>(vertexCount + split.copiedVertices.size());
                    split.copiedVertices.push_back(vertex);
                    copyNormals.push_back(static_cast<std::int32_t>(normal));
                }
            }
            split.corners[k] = givenAs[normal];
        }
    }
    split.normals.reserve(split.drawnCount());
    for (const std::int32_t normal : copyNormals) split.normals.push_back(stored.normals[static_cast<std::size_t>(normal)]);
    return split;
}

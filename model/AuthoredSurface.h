// How a mesh is drawn with the normals its file stores ("MeshNormals",
// kept by model/objects/SurfaceRules.h).
#pragma once

#include "model/Records.h"

#include <cstdint>
#include <optional>
#include <vector>

// The vertices a mesh is drawn with when its corners take its stored
// normals: each vertex keeps its place and takes the normal of the first
// corner that names it; a corner whose normal differs from its vertex's gets
// a copy of the vertex with that normal (one copy per vertex and normal),
// after the mesh's own vertices, in the order of their vertices.
struct SplitSurface {
    std::int32_t vertexCount = 0;               // the mesh's own vertices come first, in their order
    std::vector<std::int32_t> copiedVertices;  // drawn vertex vertexCount + k copies copiedVertices[k]
    std::vector<std::int32_t> corners;         // the drawn vertex of each corner of the faces, in face order
    std::vector<Vector3> normals;              // the stored normal of each drawn vertex; zero for a vertex no face uses

    std::size_t drawnCount() const { return static_cast<std::size_t>(vertexCount) + copiedVertices.size(); }
    // The mesh vertex that drawn vertex `drawn` shows.
    std::int32_t Source(std::size_t drawn) const
    {
        return drawn < static_cast<std::size_t>(vertexCount) ? static_cast<std::int32_t>(drawn)
                                                             : copiedVertices[drawn - static_cast<std::size_t>(vertexCount)];
    }
    // Whether the split was made from `mesh` as it is now (its corners and vertices).
    bool Fits(const MeshRecord& mesh) const
    {
        return vertexCount == mesh.vertexCount() && corners.size() == mesh.faces.cornerTotal();
    }
};

// The split of a mesh with stored normals that fit its faces; none otherwise.
// Linear in the corners.
std::optional<SplitSurface> SplitByStoredNormals(const MeshRecord& mesh);

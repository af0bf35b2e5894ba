// Guarded reads of a mesh's faces, materials and per-vertex arrays, shared by
// the preparation steps and the draw paths: nothing here ever indexes past
// the end of an array, whatever a mesh holds.
#pragma once

#include "model/Records.h"

#include <cstdint>

namespace records {

// A face can be drawn when it has at least three corners and every corner
// names a vertex of the mesh. Other faces are kept as they are but take no
// part in normals, render groups or drawing.
inline bool IsDrawableFace(FaceRecord face, std::int32_t vertexCount)
{
    if (face.cornerCount < 3) return false;
    for (std::int32_t c = 0; c < face.cornerCount; ++c)
        if (face.corners[c] < 0 || face.corners[c] >= vertexCount) return false;
    return true;
}

// The material of a face, or nullptr when the face has no material entry or
// its entry is not an index into the mesh's materials.
inline const MaterialRecord* FaceMaterial(const MeshRecord& mesh, std::int32_t face)
{
    if (face < 0 || face >= mesh.faceMaterialCount()) return nullptr;
    const std::int32_t index = (*mesh.faceMaterials)[static_cast<std::size_t>(face)];
    if (index < 0 || index >= mesh.materialCount()) return nullptr;
    return &mesh.materials[static_cast<std::size_t>(index)];
}

// Texture coordinate of a vertex, when the mesh has one for it.
inline const TexCoord* VertexTexCoord(const MeshRecord& mesh, std::int32_t vertex)
{
    return vertex < mesh.texCoordCount() ? &(*mesh.texCoords)[static_cast<std::size_t>(vertex)] : nullptr;
}

}  // namespace records

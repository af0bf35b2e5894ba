#include "model/binary/SurfaceObjects.h"

#include "model/AuthoredSurface.h"
#include "model/binary/ObjectNumbers.h"

namespace xfile {

void ReadMeshNormals(const Document& document, const DataObject& object, MeshRecord& mesh)
{
    Numbers numbers(document, object);
    std::uint32_t normalCount = 0, faceCount = 0;
    if (!numbers.NextInteger(normalCount) || normalCount > numbers.remaining() / 3) return;
    std::vector<Vector3> normals(normalCount);
    for (Vector3& n : normals)
        if (!numbers.NextFloat(n.x) || !numbers.NextFloat(n.y) || !numbers.NextFloat(n.z)) return;
    if (!numbers.NextInteger(faceCount) || faceCount > numbers.remaining()) return;
    std::vector<std::uint32_t> faceCorners(faceCount), indices;
    indices.reserve(std::min(numbers.remaining(), mesh.faces.cornerTotal()));
    for (std::uint32_t& corners : faceCorners) {
        if (!numbers.NextInteger(corners) || corners > numbers.remaining()) return;
        for (std::uint32_t c = 0; c < corners; ++c) {
            std::uint32_t index = 0;
            if (!numbers.NextInteger(index)) return;
            indices.push_back(index);
        }
    }
    surface_rules::AttachStoredNormals(mesh, std::move(normals), faceCorners, indices);
}

void ReadMeshVertexColors(const Document& document, const DataObject& object, MeshRecord& mesh)
{
    Numbers numbers(document, object);
    std::uint32_t count = 0;
    if (!numbers.NextInteger(count) || count > numbers.remaining() / 5) return;
    std::vector<surface_rules::IndexedColor> entries(count);
    for (surface_rules::IndexedColor& entry : entries) {
        if (!numbers.NextInteger(entry.vertex)) return;
        for (float& component : entry.color)
            if (!numbers.NextFloat(component)) return;
    }
    surface_rules::AttachVertexColors(mesh, entries);
}

}  // namespace xfile

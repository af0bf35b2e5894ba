// A mesh's surface as its file describes it beside its faces: the stored
// normals ("MeshNormals", a normal for each face corner) and the vertex
// colours ("MeshVertexColors"), kept by the same rules from either reader.
#pragma once

#include "model/Records.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace surface_rules {

// Keeps `normals` as the mesh's stored normals when the face lists fit the
// mesh's faces: as many faces, each with as many corners as the mesh's face,
// each index naming one of `normals`. `faceCorners` holds each face's corner
// count, `indices` every face's indices one after another. Otherwise the
// mesh keeps none, and its normals are computed.
void AttachStoredNormals(MeshRecord& mesh, std::vector<Vector3> normals, std::span<const std::uint32_t> faceCorners,
                         std::span<const std::uint32_t> indices);

// One entry of a "MeshVertexColors" list.
struct IndexedColor {
    std::uint32_t vertex = 0;
    VertexColor color{};
};
// Keeps the colours when they fit the mesh (no more entries than vertices,
// every index a vertex of the mesh): one colour per vertex, the last entry
// of a vertex winning, components held to 0..1, white for a vertex the list
// does not name. Otherwise the mesh keeps none.
void AttachVertexColors(MeshRecord& mesh, std::span<const IndexedColor> entries);

// The two objects read from their numbers in file order, whatever holds
// them: `Numbers` gives NextInteger(std::uint32_t&), NextFloat(float&) (each
// false when none is left or the next is not one) and remaining(). Counts are
// checked against what remains before anything is sized from them; objects
// cut short or that do not fit are left out.
template <typename Numbers>
void ReadStoredNormals(Numbers& numbers, MeshRecord& mesh)
{
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
    AttachStoredNormals(mesh, std::move(normals), faceCorners, indices);
}

template <typename Numbers>
void ReadVertexColors(Numbers& numbers, MeshRecord& mesh)
{
    std::uint32_t count = 0;
    if (!numbers.NextInteger(count) || count > numbers.remaining() / 5) return;
    std::vector<IndexedColor> entries(count);
    for (IndexedColor& entry : entries) {
        if (!numbers.NextInteger(entry.vertex)) return;
        for (float& component : entry.color)
            if (!numbers.NextFloat(component)) return;
    }
    AttachVertexColors(mesh, entries);
}

}  // namespace surface_rules

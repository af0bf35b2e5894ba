// Readers of what a mesh's file says of its surface beside its faces:
// "MeshNormals" (normals and a normal for each face corner) and
// "MeshVertexColors". Their numbers are read as one run up to the block's
// end; what does not fit the mesh is left out, and never makes a file fail.
#include "model/AuthoredSurface.h"
#include "model/text/TextWalk.h"

#include <cmath>

namespace {

// Indices are read among floats: a float holds every integer up to 2^24
// exactly, and no index a text file of a sane size could need beyond that.
bool TakeIndex(const std::vector<float>& numbers, std::size_t& at, std::uint32_t& index)
{
    if (at >= numbers.size()) return false;
    const float value = numbers[at++];
    if (!(value >= 0 && value < 16777216.0f) || std::floor(value) != value) return false;
    index = static_cast<std::uint32_t>(value);
    return true;
}

}  // namespace

void TextReader::ReadMeshNormals(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    const std::vector<float> numbers = NumbersOfBlock(line, nullptr);
    std::size_t at = 0;
    std::uint32_t normalCount = 0, faceCount = 0;
    if (!TakeIndex(numbers, at, normalCount) || normalCount > (numbers.size() - at) / 3) return;
    std::vector<Vector3> normals(normalCount);
    for (Vector3& n : normals) {
        n = {numbers[at], numbers[at + 1], numbers[at + 2]};
        at += 3;
    }
    if (!TakeIndex(numbers, at, faceCount) || faceCount > numbers.size() - at) return;
    std::vector<std::uint32_t> faceCorners(faceCount), indices;
    indices.reserve(std::min(numbers.size() - at, currentMesh_.faces.cornerTotal()));
    for (std::uint32_t& corners : faceCorners) {
        if (!TakeIndex(numbers, at, corners) || corners > numbers.size() - at) return;
        for (std::uint32_t c = 0; c < corners; ++c) {
            std::uint32_t index = 0;
            if (!TakeIndex(numbers, at, index)) return;
            indices.push_back(index);
        }
    }
    surface_rules::AttachStoredNormals(currentMesh_, std::move(normals), faceCorners, indices);
}

void TextReader::ReadMeshVertexColors(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    const std::vector<float> numbers = NumbersOfBlock(line, nullptr);
    std::size_t at = 0;
    std::uint32_t count = 0;
    if (!TakeIndex(numbers, at, count) || count > (numbers.size() - at) / 5) return;
    std::vector<surface_rules::IndexedColor> entries(count);
    for (surface_rules::IndexedColor& entry : entries) {
        if (!TakeIndex(numbers, at, entry.vertex)) return;
        for (float& component : entry.color) component = numbers[at++];
    }
    surface_rules::AttachVertexColors(currentMesh_, entries);
}

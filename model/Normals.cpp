#include "model/Model.h"
#include "model/MeshAccess.h"
#include "platform/ParallelFor.h"

#include <algorithm>
#include <cstdint>

namespace {

// Below two chunks of this many vertices a mesh's normals are summed on the
// calling thread.
constexpr std::size_t kVerticesPerChunk = std::size_t{1} << 15;

Vector3 Subtract(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// The normals of the vertices in [low, high), each the sum of its faces'
// normals in face order, normalized. With `whole`, the range holds every
// vertex and the test of each corner against it is left out.
template <bool whole>
void SumNormals(const MeshRecord& mesh, std::int32_t low, std::int32_t high, MeshRecord::VertexList& normals)
{
    const std::int32_t vertexCount = mesh.vertexCount();
    auto inRange = [&](std::int32_t corner) { return whole || (corner >= low && corner < high); };
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        if (!whole && std::none_of(face.corners, face.corners + face.cornerCount, inRange)) continue;
        if (!records::IsDrawableFace(face, vertexCount)) continue;
        const Vector3& p0 = mesh.vertices[static_cast<std::size_t>(face.corners[0])];
        const Vector3& p1 = mesh.vertices[static_cast<std::size_t>(face.corners[1])];
        const Vector3& p2 = mesh.vertices[static_cast<std::size_t>(face.corners[2])];
        // Points to the side from which the first three corners turn counter-clockwise;
        // every face weighs the same, whatever its area.
        Vector3 faceNormal = Vector3::Cross(Subtract(p2, p1), Subtract(p0, p1));
        faceNormal.Normalize();
        for (std::int32_t c = 0; c < face.cornerCount; ++c) {
            if (!inRange(face.corners[c])) continue;
            Vector3& n = normals[static_cast<std::size_t>(face.corners[c])];
            n.x += faceNormal.x;
            n.y += faceNormal.y;
            n.z += faceNormal.z;
        }
    }
    for (auto v = static_cast<std::size_t>(low); v < static_cast<std::size_t>(high); ++v) normals[v].Normalize();
}

}  // namespace

void Model::ComputeMeshNormals(std::int32_t meshIndex)
{
    if (meshIndex < 0 || meshIndex >= static_cast<std::int32_t>(meshes.size())) return;
    MeshRecord& mesh = meshes[static_cast<std::size_t>(meshIndex)];
    MeshRecord::VertexList normals(static_cast<std::size_t>(mesh.vertexCount()));

    // Each thread sums into a range of vertices of its own, over all the faces
    // in their order, so that every vertex adds its faces' normals in the same
    // order whatever the ranges; the ranges are as many as the threads. A face
    // is weighed by every range it touches.
    const std::size_t threads = platform::ParallelThreadCount();
    const std::size_t range =
        normals.size() < 2 * kVerticesPerChunk ? normals.size() : (normals.size() + threads - 1) / threads;
    platform::ParallelFor(normals.size(), range, [&](std::size_t, std::size_t first, std::size_t end) {
        const auto low = static_cast<std::int32_t>(first), high = static_cast<std::int32_t>(end);
        if (first == 0 && end == normals.size())
            SumNormals<true>(mesh, low, high, normals);
        else
            SumNormals<false>(mesh, low, high, normals);
    });
    mesh.normals = std::move(normals);
}

void Model::NegateNormals()
{
    auto negate = [](auto& normals) {
        for (Vector3& n : normals) n = {-n.x, -n.y, -n.z};
    };
    for (auto& mesh : meshes) {
        if (mesh.normals) negate(*mesh.normals);
        if (mesh.storedNormals) negate(mesh.storedNormals->normals);  // whichever are drawn turn over
    }
}

void Model::DropStoredNormals()
{
    for (auto& mesh : meshes) mesh.storedNormals.reset();
}

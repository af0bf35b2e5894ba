#include "model/Model.h"
#include "model/MeshAccess.h"

namespace {

Vector3 Subtract(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

}  // namespace

void Model::ComputeMeshNormals(std::int32_t meshIndex)
{
    if (meshIndex < 0 || meshIndex >= static_cast<std::int32_t>(meshes.size())) return;
    MeshRecord& mesh = meshes[static_cast<std::size_t>(meshIndex)];
    const std::int32_t vertexCount = mesh.vertexCount();
    std::vector<Vector3> normals(static_cast<std::size_t>(vertexCount));

    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        if (!records::IsDrawableFace(face, vertexCount)) continue;
        const Vector3& p0 = mesh.vertices[static_cast<std::size_t>(face.corners[0])];
        const Vector3& p1 = mesh.vertices[static_cast<std::size_t>(face.corners[1])];
        const Vector3& p2 = mesh.vertices[static_cast<std::size_t>(face.corners[2])];
        // Points to the side from which the first three corners turn counter-clockwise;
        // every face weighs the same, whatever its area.
        Vector3 faceNormal = Vector3::Cross(Subtract(p2, p1), Subtract(p0, p1));
        faceNormal.Normalize();
        for (std::int32_t c = 0; c < face.cornerCount; ++c) {
            Vector3& n = normals[static_cast<std::size_t>(face.corners[c])];
            n.x += faceNormal.x;
            n.y += faceNormal.y;
            n.z += faceNormal.z;
        }
    }
    for (Vector3& n : normals) n.Normalize();
    mesh.normals = std::move(normals);
}

void Model::NegateNormals()
{
    auto negate = [](std::vector<Vector3>& normals) {
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

#include "model/Model.h"
#include "platform/Messages.h"
#include "model/FanTriangleCount.h"

#include <span>

namespace {

// Replaces every polygon by a fan around its first corner, keeping its
// winding, its material and the stored normal of each corner. Faces of fewer
// than three corners stay as they are, one face each.
void TriangulateMesh(MeshRecord& mesh)
{
    records::FanTriangleCount count;
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) count.Add(mesh.faces[f].cornerCount);
    const std::optional<std::int32_t> total = count.Total();
    if (!total) {
        platform::ShowMessage("pb pu assez de faces !!!", "error", platform::MessageKind::Plain);
        return;
    }
    if (*total <= mesh.faceCount()) return;  // only triangles (or smaller faces): nothing to split

    const bool materialsCoverFaces = mesh.faceMaterials && mesh.faceMaterialCount() == mesh.faceCount();
    FaceList triangles;
    triangles.Reserve(static_cast<std::size_t>(*total), static_cast<std::size_t>(*total) * 3);
    std::vector<std::int32_t> triangleMaterials;
    if (materialsCoverFaces) triangleMaterials.reserve(static_cast<std::size_t>(*total));
    // The stored normals name corners in face order: they follow the fans.
    if (mesh.storedNormals && mesh.storedNormals->cornerNormals.size() != mesh.faces.cornerTotal())
        mesh.storedNormals.reset();  // they no longer describe these faces
    const std::vector<std::int32_t>* cornerNormals = mesh.storedNormals ? &mesh.storedNormals->cornerNormals : nullptr;
    std::vector<std::int32_t> triangleCornerNormals;
    if (cornerNormals) triangleCornerNormals.reserve(static_cast<std::size_t>(*total) * 3);

    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        const std::int32_t* c = face.corners;
        const std::size_t firstCorner = mesh.faces.FirstCorner(f);
        std::int32_t emitted = 1;
        if (face.cornerCount < 3) {
            triangles.Append(std::span(c, static_cast<std::size_t>(face.cornerCount)));
            if (cornerNormals)
                triangleCornerNormals.insert(triangleCornerNormals.end(), cornerNormals->begin() + firstCorner,
                                             cornerNormals->begin() + firstCorner + face.cornerCount);
        } else {
            triangles.AppendTriangle(c[0], c[1], c[2]);
            for (std::int32_t e = 3; e < face.cornerCount; ++e, ++emitted) triangles.AppendTriangle(c[0], c[e - 1], c[e]);
            if (cornerNormals) {
                const std::int32_t* n = cornerNormals->data() + firstCorner;
                triangleCornerNormals.insert(triangleCornerNormals.end(), {n[0], n[1], n[2]});
                for (std::int32_t e = 3; e < face.cornerCount; ++e)
                    triangleCornerNormals.insert(triangleCornerNormals.end(), {n[0], n[e - 1], n[e]});
            }
        }
        if (materialsCoverFaces) triangleMaterials.insert(triangleMaterials.end(), static_cast<std::size_t>(emitted),
                                                          (*mesh.faceMaterials)[static_cast<std::size_t>(f)]);
    }

    mesh.faces = std::move(triangles);
    if (materialsCoverFaces) mesh.faceMaterials = std::move(triangleMaterials);
    if (cornerNormals) mesh.storedNormals->cornerNormals = std::move(triangleCornerNormals);
}

}  // namespace

void Model::TriangulateFaces()
{
    for (auto& mesh : meshes) TriangulateMesh(mesh);
}

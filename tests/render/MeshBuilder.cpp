#include "MeshBuilder.h"

namespace render_testing {

MeshRecord MakeMesh(MeshRecord::VertexList vertices, std::initializer_list<std::vector<std::int32_t>> faces,
                    MeshRecord::FaceMaterialList faceMaterials, std::vector<MaterialSpec> materials,
                    MeshRecord::TexCoordList texCoords)
{
    MeshRecord mesh;
    mesh.name = "test";
    mesh.vertices = std::move(vertices);
    for (const auto& face : faces) mesh.faces.Append(face);
    mesh.faceMaterials = std::move(faceMaterials);
    for (const MaterialSpec& wanted : materials) {
        MaterialRecord& material = mesh.materials.emplace_back();
        material.name = "material";
        material.colors.diffuse = wanted.diffuse;
        material.colors.ambient = {wanted.diffuse[0], wanted.diffuse[1], wanted.diffuse[2], wanted.diffuse[3]};
        material.textureFile = wanted.textureFile;
    }
    if (!texCoords.empty()) mesh.texCoords = std::move(texCoords);
    return mesh;
}

void AddSquare(MeshRecord& mesh, float x0, float y0, float x1, float y1, float z, std::int32_t material)
{
    const std::int32_t first = mesh.vertexCount();
    mesh.vertices.insert(mesh.vertices.end(), {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}});
    const std::vector<std::int32_t> corners{first, first + 1, first + 2, first + 3};
    mesh.faces.Append(corners);
    if (!mesh.faceMaterials) mesh.faceMaterials.emplace();
    mesh.faceMaterials->push_back(material);
}

std::vector<std::vector<std::int32_t>> FacesOf(const MeshRecord& mesh)
{
    std::vector<std::vector<std::int32_t>> faces;
    for (std::int32_t f = 0; f < mesh.faceCount(); ++f) {
        const FaceRecord face = mesh.faces[f];
        faces.emplace_back(face.corners, face.corners + face.cornerCount);
    }
    return faces;
}

}  // namespace render_testing

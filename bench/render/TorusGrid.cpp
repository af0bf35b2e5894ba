#include "TorusGrid.h"

#include <cmath>

namespace render_bench {

void FillTorusGrid(Model& model, int rings, int segments)
{
    constexpr float kPi = 3.14159265f;
    constexpr float kMajor = 3.0f, kMinor = 1.0f;
    MeshRecord mesh;
    mesh.name = "torus";
    mesh.vertices.reserve(static_cast<std::size_t>(rings) * segments);
    mesh.texCoords.emplace().reserve(static_cast<std::size_t>(rings) * segments);
    for (int i = 0; i < rings; ++i) {
        const float a = 2 * kPi * i / rings;
        for (int j = 0; j < segments; ++j) {
            const float b = 2 * kPi * j / segments;
            const float radius = kMajor + kMinor * std::cos(b);
            mesh.vertices.push_back({radius * std::cos(a), kMinor * std::sin(b), -radius * std::sin(a)});
            mesh.texCoords->push_back({float(i) / rings, float(j) / segments});
        }
    }
    const std::size_t quads = static_cast<std::size_t>(rings) * segments;
    mesh.faces.Reserve(quads, quads * 4);
    auto index = [&](int i, int j) { return (i % rings) * segments + (j % segments); };
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            const std::int32_t corners[] = {index(i, j), index(i + 1, j), index(i + 1, j + 1), index(i, j + 1)};
            mesh.faces.Append(corners);
        }
    mesh.faceMaterials = MeshRecord::FaceMaterialList(quads, 0);
    MaterialRecord& material = mesh.materials.emplace_back();
    material.name = "grid";
    material.colors.diffuse = {0.7f, 0.6f, 0.4f, 1.0f};
    model.meshes.push_back(std::move(mesh));
}

}  // namespace render_bench

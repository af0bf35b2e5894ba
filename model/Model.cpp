#include "model/Model.h"

#include "model/SelectionOrder.h"

std::int32_t Model::CountTexturedMaterials() const
{
    std::int32_t count = 0;
    for (const auto& mesh : meshes)
        for (const auto& material : mesh.materials)
            if (!material.textureFile.empty()) ++count;
    return count;
}

void Model::SortMeshesByOpacity()
{
    if (meshes.size() < 2) return;
    std::vector<float> opacities;
    opacities.reserve(meshes.size());
    for (const MeshRecord& mesh : meshes) opacities.push_back(mesh.opacity);
    std::vector<MeshRecord> sorted;
    sorted.reserve(meshes.size());
    for (const std::size_t from : SelectionSortOrder(opacities)) sorted.push_back(std::move(meshes[from]));
    meshes = std::move(sorted);
}

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
    const std::vector<std::size_t> order = SelectionSortOrder(opacities);

    // Follows each cycle of the order once: a mesh already in place is not
    // moved at all, the others once each (and one more per cycle).
    std::vector<bool> placed(meshes.size(), false);
    for (std::size_t start = 0; start < meshes.size(); ++start) {
        if (placed[start] || order[start] == start) continue;
        MeshRecord held = std::move(meshes[start]);
        std::size_t at = start;
        while (order[at] != start) {
            meshes[at] = std::move(meshes[order[at]]);
            placed[at] = true;
            at = order[at];
        }
        meshes[at] = std::move(held);
        placed[at] = true;
    }
}

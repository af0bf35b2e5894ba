#include "render/RenderModel.h"

#include "texture/SharedTextures.h"

#include <filesystem>

void RenderModel::LoadMaterialTextures(Model& model, const PoseChoice& pose)
{
    MatchMeshes(model);
    if (model.CountTexturedMaterials() == 0) return;
    SharedTextures textures(std::filesystem::path(model.sourcePath).parent_path().string(),
                            pose.asAuthored ? ReaderChoice::ContentOnRefusal : ReaderChoice::ByExtension);
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        auto& materials = model.meshes[m].materials;
        meshes[m].textures.assign(materials.size(), nullptr);
        for (std::size_t k = 0; k < materials.size(); ++k) {
            if (materials[k].textureFile.empty()) continue;
            meshes[m].textures[k] = textures.Load(materials[k].textureFile);
            if (!meshes[m].textures[k]) materials[k].textureFile.clear();
        }
    }
}

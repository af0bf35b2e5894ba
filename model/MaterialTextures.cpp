#include "model/Model.h"

#include <filesystem>

// Loads the texture of every mesh material that names one; a texture that
// fails leaves its material untextured.
void Model::LoadMaterialTextures()
{
    if (CountTexturedMaterials() == 0) return;
    const std::string modelFolder = std::filesystem::path(sourcePath).parent_path().string();
    for (auto& mesh : meshes)
        for (auto& material : mesh.materials)
            if (!material.textureFile.empty() && material.texture.DoLoadTexture(material.textureFile, modelFolder) == E_FAIL)
                material.textureFile.clear();
}

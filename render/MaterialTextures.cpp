#include "render/RenderModel.h"

#include "texture/SharedTextures.h"

#include <filesystem>

namespace {

// The names a material gives: those its file lists, or the one a model made
// in memory sets.
std::vector<std::string> NamesOf(const MaterialRecord& material)
{
    if (!material.textureFiles.empty() || material.textureFile.empty()) return material.textureFiles;
    return {material.textureFile};
}

// The name a material's texture is read from: as authored the diffuse
// stage; otherwise the one its reader kept.
const std::string& NameToLoad(const MaterialRecord& material, bool asAuthored)
{
    return asAuthored ? material.DiffuseTextureFile() : material.textureFile;
}

}  // namespace

void RenderModel::LoadMaterialTextures(Model& model, const PoseChoice& pose)
{
    MatchMeshes(model);
    if (model.CountTexturedMaterials() == 0) return;
    SharedTextures textures(std::filesystem::path(model.sourcePath).parent_path().string(),
                            pose.asAuthored ? ReaderChoice::ContentOnRefusal : ReaderChoice::ByExtension,
                            pose.asAuthored ? DdsAlpha::Classify : DdsAlpha::Skip);
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        auto& materials = model.meshes[m].materials;
        meshes[m].textures.assign(materials.size(), nullptr);
        meshes[m].textureReports.assign(materials.size(), {});
        for (std::size_t k = 0; k < materials.size(); ++k) {
            TextureReport& report = meshes[m].textureReports[k];
            report.names = NamesOf(materials[k]);
            // A material its reader left untextured stays so.
            if (materials[k].textureFile.empty()) continue;
            report.loadedName = NameToLoad(materials[k], pose.asAuthored);
            if (!report.loadedName.empty()) {
                const SharedTextures::Outcome& outcome = textures.LoadOutcome(report.loadedName);
                report.texture = outcome.texture;
                report.messages = outcome.messages;
            }
            meshes[m].textures[k] = report.texture;
            if (!report.texture) materials[k].textureFile.clear();
        }
    }
}

const TextureReport* RenderModel::TextureReportOf(std::size_t mesh, std::size_t material) const
{
    if (mesh >= meshes.size() || material >= meshes[mesh].textureReports.size()) return nullptr;
    return &meshes[mesh].textureReports[material];
}

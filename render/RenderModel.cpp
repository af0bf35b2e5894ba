#include "render/RenderModel.h"

void RenderModel::MatchMeshes(const Model& model)
{
    if (meshes.size() != model.meshes.size()) meshes.resize(model.meshes.size());
}

render::DrawnTexture RenderModel::TextureOf(std::size_t mesh, std::size_t material) const
{
    if (mesh >= meshes.size() || material >= meshes[mesh].textures.size()) return {nullptr, pose_.asAuthored};
    return {meshes[mesh].textures[material].get(), pose_.asAuthored};
}

HRESULT RenderModel::RebuildRenderData(const Model& model)
{
    if (displayList) BuildDisplayList(model);  // a model without a list does not get one here
    BuildRenderArrays(model);
    const HRESULT result = SetupBufferObjects();
    if (result == S_OK) buffersReady = true;
    return result;
}

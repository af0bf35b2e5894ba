#include "render/RenderModel.h"

#include "model/AnimationSampling.h"

namespace {

void MirrorZ(std::vector<Vector3>& vectors)
{
    for (Vector3& v : vectors) v.z = -v.z;
}

}  // namespace

void RenderModel::PoseMeshes(const Model& model, const PoseChoice& choice)
{
    MatchMeshes(model);
    pose_ = choice;
    ++geometryVersion_;
    if (!choice.asAuthored) {
        for (MeshRenderData& data : meshes) {
            data.posedVertices.reset();
            data.posedNormals.reset();
        }
    } else {
        if (!scenePose_) scenePose_.emplace(model);
        const bool animated =
            choice.animationSet >= 0 && static_cast<std::size_t>(choice.animationSet) < model.animationSets.size();
        if (animated) {
            const auto set = static_cast<std::size_t>(choice.animationSet);
            SampleLocals(model, set, TimingOf(model, set).TickAt(choice.seconds), animatedLocals_);
            scenePose_->ComputeWorlds(model, animatedLocals_);
        } else {
            scenePose_->ComputeWorlds(model);
        }
        // Written over the buffers of the last pose: a pose a frame costs no allocation.
        for (std::size_t m = 0; m < meshes.size(); ++m) {
            MeshRenderData& data = meshes[m];
            std::vector<Vector3>& vertices = data.posedVertices ? *data.posedVertices : data.posedVertices.emplace();
            std::vector<Vector3>* normals = nullptr;
            if (model.meshes[m].normals)
                normals = data.posedNormals ? &*data.posedNormals : &data.posedNormals.emplace();
            else
                data.posedNormals.reset();
            scenePose_->PoseMesh(model, m, vertices, normals);
            MirrorZ(vertices);
            if (normals) MirrorZ(*normals);
        }
    }
    ComputeBoundingBoxes(model);
}

RenderModel::MeshGeometry RenderModel::Geometry(const Model& model, std::size_t m) const
{
    const MeshRecord& mesh = model.meshes[m];
    if (m < meshes.size() && meshes[m].posedVertices && meshes[m].posedVertices->size() == mesh.vertices.size()) {
        const auto& normals = meshes[m].posedNormals;
        return {*meshes[m].posedVertices, normals ? &*normals : nullptr};
    }
    return {mesh.vertices, mesh.normals ? &*mesh.normals : nullptr};
}

void RenderModel::RefreshPath(const Model& model, DrawPath path)
{
    switch (path) {
    case DrawPath::Immediate: break;  // draws the posed geometry itself
    case DrawPath::DisplayList:
        if (listVersion_ != geometryVersion_) RecompileDisplayList(model);
        break;
    case DrawPath::IndexedArrays:
    case DrawPath::BufferObjects:
        if (arraysVersion_ != geometryVersion_) RefreshInterleavedVertices(model);
        if (path == DrawPath::BufferObjects && bufferVersion_ != geometryVersion_) UpdateVertexBuffer();
        break;
    }
}

#include "render/RenderModel.h"

#include "model/Pose.h"

namespace {

void MirrorZ(std::vector<Vector3>& vectors)
{
    for (Vector3& v : vectors) v.z = -v.z;
}

}  // namespace

void RenderModel::PoseMeshes(const Model& model)
{
    MatchMeshes(model);
    if (!asAuthored) {
        for (MeshRenderData& data : meshes) {
            data.posedVertices.reset();
            data.posedNormals.reset();
        }
        return;
    }
    const ScenePose pose(model);
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        PosedMesh posed = pose.Pose(m);
        MirrorZ(posed.vertices);
        MirrorZ(posed.normals);
        meshes[m].posedVertices = std::move(posed.vertices);
        if (model.meshes[m].normals)
            meshes[m].posedNormals = std::move(posed.normals);
        else
            meshes[m].posedNormals.reset();
    }
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

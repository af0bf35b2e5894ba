#include "render/RenderModel.h"

#include "model/AnimationSampling.h"
#include "render/DrawPaths.h"

namespace {

// DirectX's left-handed coordinates into OpenGL's.
template <typename Vectors>
void MirrorZ(Vectors& vectors)
{
    for (Vector3& v : vectors) v.z = -v.z;
}

// The split's copies after the mesh's own posed vertices.
void CopySplitVertices(const SplitSurface& split, MeshRecord::VertexList& vertices)
{
    const auto own = static_cast<std::size_t>(split.vertexCount);
    vertices.resize(split.drawnCount());
    for (std::size_t k = 0; k < split.copiedVertices.size(); ++k)
        vertices[own + k] = vertices[static_cast<std::size_t>(split.copiedVertices[k])];
}

// One value per drawn vertex, that of the vertex it shows (zero past `values`).
void Gather(const SplitSurface& split, std::span<const Vector3> values, MeshRecord::VertexList& out)
{
    out.resize(split.drawnCount());
    for (std::size_t d = 0; d < out.size(); ++d) {
        const auto source = static_cast<std::size_t>(split.Source(d));
        out[d] = source < values.size() ? values[source] : Vector3{};
    }
}

}  // namespace

void RenderModel::SplitSurfaces(const Model& model)
{
    MatchMeshes(model);
    for (std::size_t m = 0; m < meshes.size(); ++m) meshes[m].split = SplitByStoredNormals(model.meshes[m]);
}

void RenderModel::PoseMeshes(const Model& model, const PoseChoice& choice)
{
    MatchMeshes(model);
    pose_ = choice;
    ++geometryVersion_;
    // A model of frames alone shows them as its author placed them.
    const bool framesAlone = model.meshes.empty() && !model.frames.empty();
    if (choice.asAuthored || framesAlone) {
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
        PoseSkeleton(model, *scenePose_, skeleton_);
        if (choice.asAuthored) MirrorZ(skeleton_.joints);
    } else {
        skeleton_.joints.clear();
        skeleton_.bones.clear();
    }
    // Written over the buffers of the last pose: a pose a frame costs no allocation.
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        MeshRenderData& data = meshes[m];
        const MeshRecord& mesh = model.meshes[m];
        const SplitSurface* split = SplitOf(model, m);
        if (!choice.asAuthored && !split) {
            data.posedVertices.reset();
            data.posedNormals.reset();
            continue;
        }
        MeshRecord::VertexList& vertices = data.posedVertices ? *data.posedVertices : data.posedVertices.emplace();
        const bool withNormals = mesh.normals || (split && choice.asAuthored);
        MeshRecord::VertexList* normals = nullptr;
        if (withNormals)
            normals = data.posedNormals ? &*data.posedNormals : &data.posedNormals.emplace();
        else
            data.posedNormals.reset();
        if (choice.asAuthored) {
            scenePose_->PoseMesh(model, m, vertices, split ? nullptr : normals);
            if (split) {
                CopySplitVertices(*split, vertices);
                scenePose_->PoseStoredNormals(model, m, *split, *normals);
            }
            MirrorZ(vertices);
            if (normals) MirrorZ(*normals);
        } else {
            // As read, a copy shows its vertex with the vertex's computed normal.
            Gather(*split, mesh.vertices, vertices);
            if (normals) Gather(*split, *mesh.normals, *normals);
        }
    }
    ComputeBoundingBoxes(model);
}

const SplitSurface* RenderModel::SplitOf(const Model& model, std::size_t m) const
{
    if (m >= meshes.size() || !meshes[m].split || !meshes[m].split->Fits(model.meshes[m])) return nullptr;
    return &*meshes[m].split;
}

RenderModel::MeshGeometry RenderModel::Geometry(const Model& model, std::size_t m) const
{
    const MeshRecord& mesh = model.meshes[m];
    const MeshRenderData* data = m < meshes.size() ? &meshes[m] : nullptr;
    const SplitSurface* split = SplitOf(model, m);
    const std::vector<VertexColor>* colors =
        pose_.vertexColors && mesh.vertexColors && mesh.vertexColors->size() == mesh.vertices.size() ? &*mesh.vertexColors
                                                                                                       : nullptr;
    const std::size_t drawn = split ? split->drawnCount() : mesh.vertices.size();
    if (data && data->posedVertices && data->posedVertices->size() == drawn) {
        const auto& normals = data->posedNormals;
        return {*data->posedVertices, normals && normals->size() == drawn ? &*normals : nullptr, split, colors};
    }
    return {mesh.vertices, mesh.normals ? &*mesh.normals : nullptr, nullptr, colors};
}

void RenderModel::RefreshPath(const Model& model, DrawPath path)
{
    // Immediate mode draws the posed geometry itself.
    const DrawPathEntry& entry = DrawPathOf(path);
    if (entry.drawsList && listVersion_ != geometryVersion_) RecompileDisplayList(model);
    if (entry.drawsArrays && arraysVersion_ != geometryVersion_) RefreshInterleavedVertices(model);
    if (entry.drawsVertexBuffer && bufferVersion_ != geometryVersion_) UpdateVertexBuffer();
}

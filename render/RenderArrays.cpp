#include "model/MeshAccess.h"
#include "render/RenderModel.h"

#include <algorithm>

namespace {

// One triangle list per material: the first three corners of each drawable
// face on that material, in face order, as drawn vertices (those of `split`
// for a split mesh). Faces without a valid material go into no group.
std::vector<RenderGroup> BuildGroups(const MeshRecord& mesh, const SplitSurface* split)
{
    std::vector<RenderGroup> groups(static_cast<std::size_t>(mesh.materialCount()));
    const std::int32_t vertexCount = mesh.vertexCount();
    const std::int32_t faceCount = std::min(mesh.faceCount(), mesh.faceMaterialCount());
    const std::int32_t materialCount = mesh.materialCount();

    auto groupOf = [&](std::int32_t f) -> RenderGroup* {
        const std::int32_t k = (*mesh.faceMaterials)[static_cast<std::size_t>(f)];
        if (k < 0 || k >= materialCount || !records::IsDrawableFace(mesh.faces[f], vertexCount)) return nullptr;
        return &groups[static_cast<std::size_t>(k)];
    };

    for (std::int32_t f = 0; f < faceCount; ++f)
        if (RenderGroup* group = groupOf(f)) ++group->triangleCount;
    for (RenderGroup& group : groups) group.indices.reserve(static_cast<std::size_t>(group.triangleCount) * 3);
    for (std::int32_t f = 0; f < faceCount; ++f) {
        if (RenderGroup* group = groupOf(f)) {
            const std::int32_t* c = split ? split->corners.data() + mesh.faces.FirstCorner(f) : mesh.faces[f].corners;
            group->indices.insert(group->indices.end(), {static_cast<std::uint32_t>(c[0]),
                                                         static_cast<std::uint32_t>(c[1]),
                                                         static_cast<std::uint32_t>(c[2])});
        }
    }
    return groups;
}

// Positions and normals (zero where a vertex has none) into the entries
// already there; a pose moves nothing else.
void RefreshInterleaved(const RenderModel::MeshGeometry& geometry, std::vector<InterleavedVertex>& out)
{
    const std::size_t normalCount = geometry.normals ? geometry.normals->size() : 0;
    const std::size_t count = std::min(out.size(), geometry.vertices.size());
    for (std::size_t i = 0; i < count; ++i) {
        InterleavedVertex& v = out[i];
        const Vector3& p = geometry.vertices[i];
        if (i < normalCount) {
            const Vector3& n = (*geometry.normals)[i];
            v.nx = n.x, v.ny = n.y, v.nz = n.z;
        } else {
            v.nx = v.ny = v.nz = 0.0f;
        }
        v.x = p.x, v.y = p.y, v.z = p.z;
    }
}

// Entry i holds drawn vertex i: the texture coordinate of the vertex it
// shows (zero when it has none), its normal and position.
void FillInterleaved(const MeshRecord& mesh, const RenderModel::MeshGeometry& geometry,
                     std::vector<InterleavedVertex>& out)
{
    out.resize(geometry.vertices.size());  // one entry per drawn vertex
    for (std::size_t i = 0; i < out.size(); ++i) {
        const TexCoord* t = records::VertexTexCoord(mesh, geometry.Source(static_cast<std::int32_t>(i)));
        InterleavedVertex& v = out[i];
        v.u = t ? t->u : 0.0f;
        v.v = t ? t->v : 0.0f;
    }
    RefreshInterleaved(geometry, out);
}

// The colour of each drawn vertex, for a mesh whose vertices have colours;
// nothing for another. Kept whether or not they are drawn: a switch of the
// colours needs no new arrays.
void FillColors(const MeshRecord& mesh, const RenderModel::MeshGeometry& geometry,
                std::optional<std::vector<VertexColor>>& out)
{
    out.reset();
    if (!mesh.vertexColors || mesh.vertexColors->size() != mesh.vertices.size()) return;
    std::vector<VertexColor>& colors = out.emplace(geometry.vertices.size());
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = (*mesh.vertexColors)[static_cast<std::size_t>(geometry.Source(static_cast<std::int32_t>(i)))];
}

}  // namespace

void RenderModel::BuildRenderArrays(const Model& model)
{
    MatchMeshes(model);
    vertexUsage_ = model.animationSets.empty() ? GL_STATIC_DRAW_ARB : GL_DYNAMIC_DRAW_ARB;
    BuildRenderGroups(model);
    FillInterleavedVertices(model);
}

void RenderModel::BuildRenderGroups(const Model& model)
{
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        meshes[m].renderGroups.reset();
        // The groups index what the geometry draws.
        if (model.meshes[m].materialCount() > 0)
            meshes[m].renderGroups = BuildGroups(model.meshes[m], Geometry(model, m).split);
    }
}

void RenderModel::FillInterleavedVertices(const Model& model)
{
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        auto& vertices = meshes[m].interleavedVertices;
        vertices.reset();  // built whole: nothing kept of the old array
        const MeshGeometry geometry = Geometry(model, m);
        FillInterleaved(model.meshes[m], geometry, vertices.emplace());
        FillColors(model.meshes[m], geometry, meshes[m].drawnColors);
    }
    arraysVersion_ = geometryVersion_;
}

void RenderModel::RefreshInterleavedVertices(const Model& model)
{
    for (std::size_t m = 0; m < meshes.size() && m < model.meshes.size(); ++m)
        if (meshes[m].interleavedVertices) RefreshInterleaved(Geometry(model, m), *meshes[m].interleavedVertices);
    arraysVersion_ = geometryVersion_;
}

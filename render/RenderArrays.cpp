#include "model/MeshAccess.h"
#include "platform/ParallelFor.h"
#include "render/RenderModel.h"

#include <algorithm>

namespace {

// Faces or vertices a thread takes at once in a large mesh; a smaller mesh
// is built on the calling thread.
constexpr std::size_t kItemsPerChunk = std::size_t{1} << 15;

// One triangle list per material: the first three corners of each drawable
// face on that material, in face order, as drawn vertices (those of `split`
// for a split mesh). Faces without a valid material go into no group. Each
// chunk of faces finds its faces' groups and counts them, then writes its
// triangles where the counts of the chunks before it end.
std::vector<RenderGroup> BuildGroups(const MeshRecord& mesh, const SplitSurface* split)
{
    std::vector<RenderGroup> groups(static_cast<std::size_t>(mesh.materialCount()));
    const std::int32_t vertexCount = mesh.vertexCount();
    const auto faceCount = static_cast<std::size_t>(std::max(0, std::min(mesh.faceCount(), mesh.faceMaterialCount())));
    const std::int32_t materialCount = mesh.materialCount();
    const auto materials = static_cast<std::size_t>(materialCount);

    auto groupOf = [&](std::size_t f) -> std::int32_t {
        const std::int32_t k = (*mesh.faceMaterials)[f];
        const bool drawn = k >= 0 && k < materialCount &&
                           records::IsDrawableFace(mesh.faces[static_cast<std::int32_t>(f)], vertexCount);
        return drawn ? k : -1;
    };

    // No more chunks than faces per material: the chunks' counts take no
    // more room than the faces.
    const std::size_t grain = std::max(kItemsPerChunk, materials);
    const std::size_t chunks = platform::ChunkCount(faceCount, grain);
    std::vector<std::int32_t> counts(chunks * materials, 0);  // then where each chunk's triangles begin
    // Each chunk counts, then steps through its starts, in a list of its own:
    // the slots of neighbouring chunks share cache lines, and a count written
    // there for every face would bounce between the cores.
    platform::ParallelFor(faceCount, grain, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        std::vector<std::int32_t> chunkCounts(materials, 0);
        for (std::size_t f = begin; f < end; ++f) {
            const std::int32_t group = groupOf(f);
            if (group >= 0) ++chunkCounts[static_cast<std::size_t>(group)];
        }
        std::copy(chunkCounts.begin(), chunkCounts.end(), counts.begin() + static_cast<std::ptrdiff_t>(chunk * materials));
    });
    for (std::size_t g = 0; g < materials; ++g) {
        std::int32_t total = 0;
        for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
            std::int32_t& count = counts[chunk * materials + g];
            const std::int32_t inChunk = count;
            count = total;
            total += inChunk;
        }
        groups[g].triangleCount = total;
        groups[g].indices.resize(static_cast<std::size_t>(total) * 3);
    }
    platform::ParallelFor(faceCount, grain, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
        const auto chunkStarts = counts.begin() + static_cast<std::ptrdiff_t>(chunk * materials);
        std::vector<std::int32_t> next(chunkStarts, chunkStarts + static_cast<std::ptrdiff_t>(materials));
        for (std::size_t f = begin; f < end; ++f) {
            const std::int32_t group = groupOf(f);  // found again: cheaper than kept
            if (group < 0) continue;
            const auto face = static_cast<std::int32_t>(f);
            const std::int32_t* c = split ? split->corners.data() + mesh.faces.FirstCorner(face) : mesh.faces[face].corners;
            std::uint32_t* out = groups[static_cast<std::size_t>(group)].indices.data() +
                                 static_cast<std::size_t>(next[static_cast<std::size_t>(group)]++) * 3;
            out[0] = static_cast<std::uint32_t>(c[0]);
            out[1] = static_cast<std::uint32_t>(c[1]);
            out[2] = static_cast<std::uint32_t>(c[2]);
        }
    });
    return groups;
}

// Entries [begin, end) of `out` from the geometry: position and normal (zero
// where a vertex has none), and with `mesh` the texture coordinate of the
// vertex each shows (zero where it has none) too; one pass, each entry
// written whole.
void WriteInterleaved(const RenderModel::MeshGeometry& geometry, const MeshRecord* mesh,
                      platform::LargeVector<InterleavedVertex>& out, std::size_t begin, std::size_t end)
{
    const std::size_t normalCount = geometry.normals ? geometry.normals->size() : 0;
    for (std::size_t i = begin; i < end; ++i) {
        InterleavedVertex& v = out[i];
        if (mesh) {
            const TexCoord* t = records::VertexTexCoord(*mesh, geometry.Source(static_cast<std::int32_t>(i)));
            v.u = t ? t->u : 0.0f;
            v.v = t ? t->v : 0.0f;
        }
        if (i < normalCount) {
            const Vector3& n = (*geometry.normals)[i];
            v.nx = n.x, v.ny = n.y, v.nz = n.z;
        } else {
            v.nx = v.ny = v.nz = 0.0f;
        }
        const Vector3& p = geometry.vertices[i];
        v.x = p.x, v.y = p.y, v.z = p.z;
    }
}

// Positions and normals (zero where a vertex has none) into the entries
// already there; a pose moves nothing else.
void RefreshInterleaved(const RenderModel::MeshGeometry& geometry, platform::LargeVector<InterleavedVertex>& out)
{
    const std::size_t count = std::min(out.size(), geometry.vertices.size());
    platform::ParallelFor(count, kItemsPerChunk, [&](std::size_t, std::size_t begin, std::size_t end) {
        WriteInterleaved(geometry, nullptr, out, begin, end);
    });
}

// Entry i holds drawn vertex i: the texture coordinate of the vertex it
// shows (zero when it has none), its normal and position.
void FillInterleaved(const MeshRecord& mesh, const RenderModel::MeshGeometry& geometry,
                     platform::LargeVector<InterleavedVertex>& out)
{
    out.resize(geometry.vertices.size());  // one entry per drawn vertex
    platform::ParallelFor(out.size(), kItemsPerChunk, [&](std::size_t, std::size_t begin, std::size_t end) {
        WriteInterleaved(geometry, &mesh, out, begin, end);
    });
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

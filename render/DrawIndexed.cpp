#include "platform/BufferObjectApi.h"
#include "render/MaterialSetup.h"
#include "render/RenderModel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

const void* ByteOffset(std::uintptr_t offset) { return reinterpret_cast<const void*>(offset); }

// Groups are drawn in material order, as many as both lists hold.
std::size_t DrawnGroupCount(const MeshRecord& mesh, const MeshRenderData& data)
{
    return std::min(mesh.materials.size(), data.renderGroups ? data.renderGroups->size() : 0);
}

// A mesh's drawn colours, when this draw shows them.
const std::vector<VertexColor>* ShownColors(const PoseChoice& pose, const MeshRenderData& data)
{
    return pose.vertexColors && data.drawnColors && data.interleavedVertices &&
                   data.drawnColors->size() == data.interleavedVertices->size()
               ? &*data.drawnColors
               : nullptr;
}

}  // namespace

// The arrays are given once per mesh: every group of a mesh indexes the
// same vertices, and nothing between its groups changes the arrays.
void RenderModel::DrawIndexedArrays(const Model& model) const
{
    render::MaterialState state;
    const std::size_t count = std::min(model.meshes.size(), meshes.size());
    for (std::size_t m = 0; m < count; ++m) {
        const MeshRecord& mesh = model.meshes[m];
        const MeshRenderData& data = meshes[m];
        if (!data.shown || mesh.materials.empty() || !data.renderGroups || !data.interleavedVertices) continue;
        const std::vector<VertexColor>* colors = ShownColors(pose_, data);
        if (colors) state.TakeVertexColors();
        glInterleavedArrays(GL_T2F_N3F_V3F, sizeof(InterleavedVertex), data.interleavedVertices->data());
        if (colors) {  // after the interleaved arrays, which switch the colour array off
            glColorPointer(4, GL_FLOAT, sizeof(VertexColor), colors->data());
            glEnableClientState(GL_COLOR_ARRAY);
        }
        for (std::size_t k = 0; k < DrawnGroupCount(mesh, data); ++k) {
            const RenderGroup& group = (*data.renderGroups)[k];
            if (group.triangleCount == 0) continue;  // nothing to draw, and no material to set for it
            state.Setup(mesh.materials[k], TextureOf(m, k));
            glDrawElements(GL_TRIANGLES, 3 * group.triangleCount, GL_UNSIGNED_INT, group.indices.data());
        }
        if (colors) glDisableClientState(GL_COLOR_ARRAY);
        state.ResetAfterMesh();
    }
    state.Finish();
}

// Both buffers hold every mesh: they are bound, and the arrays enabled, once
// for the whole draw; each mesh only points the arrays at its vertices.
void RenderModel::DrawBufferObjects(const Model& model) const
{
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    if (!buffersReady || api.bindBuffer == nullptr || !vertexBuffer || !indexBuffer) return;
    render::MaterialState state;
    bool bound = false;
    const std::size_t count = std::min(model.meshes.size(), meshes.size());
    for (std::size_t m = 0; m < count; ++m) {
        const MeshRecord& mesh = model.meshes[m];
        const MeshRenderData& data = meshes[m];
        // A mesh without vertex data has nothing in the vertex buffer to draw.
        if (!data.shown || mesh.materials.empty() || !data.interleavedVertices || data.interleavedVertices->empty())
            continue;
        if (!bound) {
            api.bindBuffer(GL_ARRAY_BUFFER_ARB, vertexBuffer.get());
            api.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer.get());
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnableClientState(GL_NORMAL_ARRAY);
            glEnableClientState(GL_VERTEX_ARRAY);
            bound = true;
        }
        const std::uintptr_t base = data.vertexOffset;
        glTexCoordPointer(2, GL_FLOAT, sizeof(InterleavedVertex), ByteOffset(base + offsetof(InterleavedVertex, u)));
        glNormalPointer(GL_FLOAT, sizeof(InterleavedVertex), ByteOffset(base + offsetof(InterleavedVertex, nx)));
        glVertexPointer(3, GL_FLOAT, sizeof(InterleavedVertex), ByteOffset(base + offsetof(InterleavedVertex, x)));
        const bool colors = ShownColors(pose_, data) != nullptr;
        if (colors) {
            state.TakeVertexColors();
            glColorPointer(4, GL_FLOAT, sizeof(VertexColor), ByteOffset(data.colorOffset));
            glEnableClientState(GL_COLOR_ARRAY);
        }
        for (std::size_t k = 0; k < DrawnGroupCount(mesh, data); ++k) {
            const RenderGroup& group = (*data.renderGroups)[k];
            if (group.triangleCount == 0) continue;
            state.Setup(mesh.materials[k], TextureOf(m, k));
            glDrawElements(GL_TRIANGLES, 3 * group.triangleCount, GL_UNSIGNED_INT, ByteOffset(group.indexOffset));
        }
        if (colors) glDisableClientState(GL_COLOR_ARRAY);
        state.ResetAfterMesh();
    }
    if (bound) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
        api.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
        api.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
    }
    state.Finish();
}

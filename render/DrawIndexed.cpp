#include "model/Model.h"
#include "platform/BufferObjectApi.h"
#include "render/MaterialSetup.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

const void* ByteOffset(std::uintptr_t offset) { return reinterpret_cast<const void*>(offset); }

// Groups are drawn in material order, as many as both lists hold.
std::size_t DrawnGroupCount(const MeshRecord& mesh)
{
    return std::min(mesh.materials.size(), mesh.renderGroups ? mesh.renderGroups->size() : 0);
}

}  // namespace

void Model::DrawIndexedArrays() const
{
    for (const auto& mesh : meshes) {
        if (mesh.materials.empty() || !mesh.renderGroups || !mesh.interleavedVertices) continue;
        for (std::size_t k = 0; k < DrawnGroupCount(mesh); ++k) {
            const RenderGroup& group = (*mesh.renderGroups)[k];
            if (group.triangleCount == 0) continue;  // nothing to draw, and no material to set for it
            render::SetupMaterial(mesh.materials[k]);
            glInterleavedArrays(GL_T2F_N3F_V3F, sizeof(InterleavedVertex), mesh.interleavedVertices->data());
            glDrawElements(GL_TRIANGLES, 3 * group.triangleCount, GL_UNSIGNED_INT, group.indices.data());
        }
        render::ResetAfterMesh();
    }
}

void Model::DrawBufferObjects() const
{
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    if (!buffersReady || api.bindBuffer == nullptr) return;
    for (const auto& mesh : meshes) {
        // A mesh without vertex data has no vertex buffer: nothing of it can be drawn.
        if (mesh.materials.empty() || mesh.vertexBuffer == kNoGlName) continue;
        api.bindBuffer(GL_ARRAY_BUFFER_ARB, mesh.vertexBuffer);
        for (std::size_t k = 0; k < DrawnGroupCount(mesh); ++k) {
            const RenderGroup& group = (*mesh.renderGroups)[k];
            if (group.triangleCount == 0 || group.indexBuffer == kNoGlName) continue;
            api.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, group.indexBuffer);
            glTexCoordPointer(2, GL_FLOAT, sizeof(InterleavedVertex), ByteOffset(offsetof(InterleavedVertex, u)));
            glNormalPointer(GL_FLOAT, sizeof(InterleavedVertex), ByteOffset(offsetof(InterleavedVertex, nx)));
            glVertexPointer(3, GL_FLOAT, sizeof(InterleavedVertex), ByteOffset(offsetof(InterleavedVertex, x)));
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnableClientState(GL_NORMAL_ARRAY);
            glEnableClientState(GL_VERTEX_ARRAY);
            render::SetupMaterial(mesh.materials[k]);
            glDrawElements(GL_TRIANGLES, 3 * group.triangleCount, GL_UNSIGNED_INT, ByteOffset(0));
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glDisableClientState(GL_NORMAL_ARRAY);
            glDisableClientState(GL_VERTEX_ARRAY);
            api.bindBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
        }
        api.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
        render::ResetAfterMesh();
    }
}

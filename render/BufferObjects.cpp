#include "platform/BufferObjectApi.h"
#include "platform/GlEntryPoints.h"
#include "platform/Messages.h"
#include "render/RenderModel.h"

#include <type_traits>

namespace {

constexpr const char* kCaption = "ERROR";

void ShowBufferError(const char* text) { platform::ShowMessage(text, kCaption, platform::MessageKind::Warning); }

// Resolves all eleven entry points, in their fixed order; false when any is missing.
bool ResolveBufferObjectApi(platform::BufferObjectApi& api)
{
    bool all = true;
    auto resolve = [&all](auto& entry, const char* name) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(platform::GetGlProcAddress(name));
        if (entry == nullptr) all = false;
    };
    resolve(api.bindBuffer, "glBindBufferARB");
    resolve(api.deleteBuffers, "glDeleteBuffersARB");
    resolve(api.genBuffers, "glGenBuffersARB");
    resolve(api.isBuffer, "glIsBufferARB");
    resolve(api.bufferData, "glBufferDataARB");
    resolve(api.bufferSubData, "glBufferSubDataARB");
    resolve(api.getBufferSubData, "glGetBufferSubDataARB");
    resolve(api.mapBuffer, "glMapBufferARB");
    resolve(api.unmapBuffer, "glUnmapBufferARB");
    resolve(api.getBufferParameteriv, "glGetBufferParameterivARB");
    resolve(api.getBufferPointerv, "glGetBufferPointervARB");
    return all;
}

// Replaces the buffer held in `buffer` by a new one holding `bytes` bytes of
// `data`. No data, no buffer: the owner is left holding none. A buffer the
// driver could not fill is given back and reported; the result is then false.
bool UploadBuffer(GLenum target, platform::GlName& buffer, const void* data, std::size_t bytes)
{
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    buffer.Reset();
    if (bytes == 0) return true;

    GLuint name = 0;
    api.genBuffers(1, &name);
    buffer = platform::GlName(platform::GlObjectKind::Buffer, name);
    api.bindBuffer(target, name);
    api.bufferData(target, static_cast<GLsizeiptrARB>(bytes), data, GL_STATIC_DRAW_ARB);
    GLint size = 0;
    api.getBufferParameteriv(target, GL_BUFFER_SIZE_ARB, &size);
    if (size <= 0) {
        ShowBufferError("glBufferDataARB failed to allocate any memory!");
        api.bindBuffer(target, 0);
        buffer.Reset();
        return false;
    }
    api.bindBuffer(target, 0);
    return true;
}

}  // namespace

HRESULT RenderModel::SetupBufferObjects()
{
    if (!platform::HasGlExtension("ARB_vertex_buffer_object")) {
        ShowBufferError("ARB_vertex_buffer_object extension was not found");
        return E_FAIL;
    }
    // The table is only replaced when complete, so buffers already made can
    // still be deleted through it.
    platform::BufferObjectApi api;
    if (!ResolveBufferObjectApi(api)) {
        ShowBufferError("One or more ARB_vertex_buffer_object functions were not found");
        return E_FAIL;
    }
    platform::TheBufferObjectApi() = api;

    // Every vertex buffer first, then every index buffer.
    for (MeshRenderData& data : meshes) {
        const auto& vertices = data.interleavedVertices;
        const std::size_t bytes = vertices ? vertices->size() * sizeof(InterleavedVertex) : 0;
        if (!UploadBuffer(GL_ARRAY_BUFFER_ARB, data.vertexBuffer, vertices ? vertices->data() : nullptr, bytes))
            return E_FAIL;
    }
    for (MeshRenderData& data : meshes) {
        if (!data.renderGroups) continue;
        for (RenderGroup& group : *data.renderGroups)
            if (!UploadBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, group.indexBuffer, group.indices.data(),
                              group.indices.size() * sizeof(std::uint32_t)))
                return E_FAIL;
    }
    return S_OK;
}

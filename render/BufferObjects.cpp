#include "model/Model.h"
#include "platform/BufferObjectApi.h"
#include "platform/GlEntryPoints.h"
#include "platform/Messages.h"

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

// Replaces the buffer held in `name` by a new one holding `bytes` bytes of
// `data`. No data, no buffer: the name is left as none. A buffer the driver
// could not fill is given back and reported; the result is then false.
bool UploadBuffer(GLenum target, GLuint& name, const void* data, std::size_t bytes)
{
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    platform::DeleteBufferObject(name);
    name = kNoGlName;
    if (bytes == 0) return true;

    api.genBuffers(1, &name);
    api.bindBuffer(target, name);
    api.bufferData(target, static_cast<GLsizeiptrARB>(bytes), data, GL_STATIC_DRAW_ARB);
    GLint size = 0;
    api.getBufferParameteriv(target, GL_BUFFER_SIZE_ARB, &size);
    if (size <= 0) {
        ShowBufferError("glBufferDataARB failed to allocate any memory!");
        api.bindBuffer(target, 0);
        platform::DeleteBufferObject(name);
        name = kNoGlName;
        return false;
    }
    api.bindBuffer(target, 0);
    return true;
}

}  // namespace

HRESULT Model::SetupBufferObjects()
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
    for (auto& mesh : meshes) {
        const std::size_t bytes = mesh.interleavedVertices ? mesh.interleavedVertices->size() * sizeof(InterleavedVertex) : 0;
        const void* data = mesh.interleavedVertices ? mesh.interleavedVertices->data() : nullptr;
        if (!UploadBuffer(GL_ARRAY_BUFFER_ARB, mesh.vertexBuffer, data, bytes)) return E_FAIL;
    }
    for (auto& mesh : meshes) {
        if (!mesh.renderGroups) continue;
        for (RenderGroup& group : *mesh.renderGroups)
            if (!UploadBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, group.indexBuffer, group.indices.data(),
                              group.indices.size() * sizeof(std::uint32_t)))
                return E_FAIL;
    }
    return S_OK;
}

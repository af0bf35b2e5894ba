#include "platform/BufferObjectApi.h"
#include "platform/GlEntryPoints.h"
#include "platform/Messages.h"
#include "render/RenderModel.h"

#include <cstdint>
#include <cstring>
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

// One piece of a buffer's contents.
struct Piece {
    const void* data;
    std::size_t bytes;
};

// Writes the pieces one after another from the start of the buffer bound to
// `target`: through a mapping, in one go; piece by piece when the driver
// gives no mapping or loses what was written.
void WritePieces(GLenum target, const std::vector<Piece>& pieces)
{
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    bool written = false;
    if (auto* mapped = static_cast<std::uint8_t*>(api.mapBuffer(target, GL_WRITE_ONLY_ARB))) {
        std::size_t offset = 0;
        for (const Piece& piece : pieces) {
            if (piece.bytes > 0) std::memcpy(mapped + offset, piece.data, piece.bytes);
            offset += piece.bytes;
        }
        written = api.unmapBuffer(target) == GL_TRUE;
    }
    if (!written) {
        std::size_t offset = 0;
        for (const Piece& piece : pieces) {
            if (piece.bytes > 0)
                api.bufferSubData(target, static_cast<GLintptrARB>(offset), static_cast<GLsizeiptrARB>(piece.bytes),
                                  piece.data);
            offset += piece.bytes;
        }
    }
}

// Replaces the buffer held in `buffer` by a new one holding the pieces one
// after another. No data, no buffer: the owner is left holding none. A
// buffer the driver could not size is given back and reported; the result
// is then false.
bool UploadBuffer(GLenum target, platform::GlName& buffer, const std::vector<Piece>& pieces, GLenum usage)
{
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    buffer.Reset();
    std::size_t total = 0;
    for (const Piece& piece : pieces) total += piece.bytes;
    if (total == 0) return true;

    GLuint name = 0;
    api.genBuffers(1, &name);
    buffer = platform::GlName(platform::GlObjectKind::Buffer, name);
    api.bindBuffer(target, name);
    api.bufferData(target, static_cast<GLsizeiptrARB>(total), nullptr, usage);
    GLint size = 0;
    api.getBufferParameteriv(target, GL_BUFFER_SIZE_ARB, &size);
    if (size <= 0 || static_cast<std::size_t>(size) < total) {
        ShowBufferError("glBufferDataARB failed to allocate any memory!");
        api.bindBuffer(target, 0);
        buffer.Reset();
        return false;
    }
    WritePieces(target, pieces);
    api.bindBuffer(target, 0);
    return true;
}

// Every mesh's interleaved vertices, one after another, then (with
// `colors`) the colours of the meshes that have them: a pose rewrites only
// the vertices, which come first.
std::vector<Piece> VertexPieces(std::vector<MeshRenderData>& meshes, bool colors)
{
    std::vector<Piece> pieces;
    std::size_t offset = 0;
    for (MeshRenderData& data : meshes) {
        data.vertexOffset = offset;
        if (!data.interleavedVertices) continue;
        pieces.push_back({data.interleavedVertices->data(), data.interleavedVertices->size() * sizeof(InterleavedVertex)});
        offset += pieces.back().bytes;
    }
    if (!colors) return pieces;
    for (MeshRenderData& data : meshes) {
        data.colorOffset = offset;
        if (!data.drawnColors) continue;
        pieces.push_back({data.drawnColors->data(), data.drawnColors->size() * sizeof(VertexColor)});
        offset += pieces.back().bytes;
    }
    return pieces;
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

    // The vertex buffer first, then the index buffer.
    std::vector<Piece> pieces = VertexPieces(meshes, true);
    if (!UploadBuffer(GL_ARRAY_BUFFER_ARB, vertexBuffer, pieces, vertexUsage_)) return E_FAIL;
    bufferVersion_ = arraysVersion_;

    pieces.clear();
    std::size_t offset = 0;
    for (MeshRenderData& data : meshes) {
        if (!data.renderGroups) continue;
        for (RenderGroup& group : *data.renderGroups) {
            group.indexOffset = offset;
            pieces.push_back({group.indices.data(), group.indices.size() * sizeof(std::uint32_t)});
            offset += pieces.back().bytes;
        }
    }
    return UploadBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, indexBuffer, pieces, GL_STATIC_DRAW_ARB) ? S_OK : E_FAIL;
}

void RenderModel::UpdateVertexBuffer()
{
    // A buffer that was never made, or failed, stays as it is: the path draws nothing.
    if (!buffersReady || !vertexBuffer) return;
    const platform::BufferObjectApi& api = platform::TheBufferObjectApi();
    api.bindBuffer(GL_ARRAY_BUFFER_ARB, vertexBuffer.get());
    // The vertex count never changes with a pose: the buffer keeps its size
    // and name, and the colours after the vertices, which no pose moves, stay.
    WritePieces(GL_ARRAY_BUFFER_ARB, VertexPieces(meshes, false));
    api.bindBuffer(GL_ARRAY_BUFFER_ARB, 0);
    bufferVersion_ = arraysVersion_;
}

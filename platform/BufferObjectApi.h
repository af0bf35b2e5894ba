// The process-wide table of the ARB_vertex_buffer_object entry points.
// Render preparation fills it; whoever deletes a buffer object goes through it.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace platform {

struct BufferObjectApi {
    PFNGLBINDBUFFERARBPROC bindBuffer = nullptr;
    PFNGLDELETEBUFFERSARBPROC deleteBuffers = nullptr;
    PFNGLGENBUFFERSARBPROC genBuffers = nullptr;
    PFNGLISBUFFERARBPROC isBuffer = nullptr;
    PFNGLBUFFERDATAARBPROC bufferData = nullptr;
    PFNGLBUFFERSUBDATAARBPROC bufferSubData = nullptr;
    PFNGLGETBUFFERSUBDATAARBPROC getBufferSubData = nullptr;
    PFNGLMAPBUFFERARBPROC mapBuffer = nullptr;
    PFNGLUNMAPBUFFERARBPROC unmapBuffer = nullptr;
    PFNGLGETBUFFERPARAMETERIVARBPROC getBufferParameteriv = nullptr;
    PFNGLGETBUFFERPOINTERVARBPROC getBufferPointerv = nullptr;
};

BufferObjectApi& TheBufferObjectApi();

// Deletes one buffer object through the table; does nothing for the none name
// (all bits set) or while the table is empty.
void DeleteBufferObject(GLuint name);

}  // namespace platform

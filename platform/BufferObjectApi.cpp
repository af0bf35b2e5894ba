#include "platform/BufferObjectApi.h"

namespace platform {

BufferObjectApi& TheBufferObjectApi()
{
    static BufferObjectApi api;
    return api;
}

void DeleteBufferObject(GLuint name)
{
    const auto& api = TheBufferObjectApi();
    if (name != static_cast<GLuint>(-1) && api.deleteBuffers != nullptr) api.deleteBuffers(1, &name);
}

}  // namespace platform

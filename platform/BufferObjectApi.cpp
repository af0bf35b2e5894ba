#include "platform/BufferObjectApi.h"

#include "platform/GlName.h"

namespace platform {

BufferObjectApi& TheBufferObjectApi()
{
    static BufferObjectApi api;
    return api;
}

void DeleteBufferObject(GLuint name)
{
    const auto& api = TheBufferObjectApi();
    if (name != kNoGlName && api.deleteBuffers != nullptr) api.deleteBuffers(1, &name);
}

}  // namespace platform

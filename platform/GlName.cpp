#include "platform/GlName.h"

#include "platform/BufferObjectApi.h"

namespace platform {

void GlName::Reset()
{
    if (name_ == kNoGlName) return;
    switch (kind_) {
    case GlObjectKind::Texture: glDeleteTextures(1, &name_); break;
    case GlObjectKind::Buffer: DeleteBufferObject(name_); break;
    case GlObjectKind::DisplayList: glDeleteLists(name_, 1); break;
    }
    name_ = kNoGlName;
}

}  // namespace platform

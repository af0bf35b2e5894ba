#include "platform/FramePixels.h"

#include <GL/gl.h>

#include <cstring>

namespace platform {

std::vector<std::uint8_t> ReadFramePixels(int width, int height)
{
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(row * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        std::memcpy(topDown.data() + y * row, bottomUp.data() + (static_cast<std::size_t>(height) - 1 - y) * row, row);
    return topDown;
}

}  // namespace platform

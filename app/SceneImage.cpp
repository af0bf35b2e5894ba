#include "app/SceneImage.h"

#include "app/Frame.h"
#include "platform/PngFile.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

std::string WriteSceneImage(ShellState& state, const ViewOptions& options, const std::string& path)
{
    const int width = static_cast<int>(state.windowWidth), height = static_cast<int>(state.windowHeight);
    if (width <= 0 || height <= 0) return "the window has no area";
    DrawScene(state, options);
    glFinish();

    // Read where the frame was drawn: the back buffer of a window, the
    // colour attachment of an offscreen framebuffer.
    GLint drawBuffer = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    glReadBuffer(static_cast<GLenum>(drawBuffer));
    for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale) {
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(row * static_cast<std::size_t>(height));
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    if (glGetError() != GL_NO_ERROR) return "the frame could not be read";
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>((height - 1 - y) * row), row,
                    topDown.begin() + static_cast<std::ptrdiff_t>(y * row));
    return platform::WritePng(path, width, height, topDown);
}

#include "app/SceneImage.h"

#include "app/Frame.h"
#include "platform/FramePixels.h"
#include "platform/PngFile.h"

#include <GL/gl.h>

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
    // Errors left by earlier calls are not the read's (a bounded drain: a
    // lost context keeps answering with one).
    for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale) {
    }
    const std::vector<std::uint8_t> pixels = platform::ReadFramePixels(width, height);
    if (glGetError() != GL_NO_ERROR) return "the frame could not be read";
    return platform::WritePng(path, width, height, pixels);
}

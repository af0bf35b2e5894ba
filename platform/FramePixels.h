// Reading back what the current OpenGL context has drawn.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// The pixels of the read buffer from (0, 0), `width` by `height`, as RGBA
// with the top row first (the order a picture file wants; OpenGL's rows run
// bottom up).
std::vector<std::uint8_t> ReadFramePixels(int width, int height);

}  // namespace platform

// Writing a picture as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Whether the picture keeps its alpha channel: a frame on screen has no
// transparency, a thumbnail's background has.
enum class PngAlpha { Drop, Keep };

// Writes RGBA pixels, top row first, as an RGB (or RGBA) PNG. Returns an
// empty text on success, else what went wrong.
std::string WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
                     PngAlpha alpha = PngAlpha::Drop);

}  // namespace platform

// Writing a frame as a PNG picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render_tool {

// Writes RGBA pixels, top row first, as an RGB PNG (a frame on screen has no
// transparency). Returns an empty text on success, else what went wrong.
std::string WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace render_tool

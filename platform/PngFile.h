// Pictures as PNG: encoded in memory, or written to a file whole.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// A PNG file's bytes for 8-bit samples, `components` per pixel (1 grey,
// 2 grey and alpha, 3 RGB, 4 RGBA), rows packed, top row first. Empty when
// the sides, the sample count or `components` do not make an image, or
// memory runs out.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> pixels, int components);

// Whether the picture keeps its alpha channel: a frame on screen has no
// transparency, a thumbnail's background has.
enum class PngAlpha { Drop, Keep };

// Writes RGBA pixels, top row first, as an RGB (or RGBA) PNG, whole or not
// at all: a file already at `path` stays as it was unless every byte of the
// new one is written. Returns an empty text on success, else what went
// wrong (the system's reason when the file could not be written).
std::string WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
                     PngAlpha alpha = PngAlpha::Drop);

}  // namespace platform

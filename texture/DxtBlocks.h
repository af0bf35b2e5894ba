// S3TC blocks (DXT1, DXT3, DXT5) into 8-bit RGBA texels, for whoever needs
// the image itself rather than handing the blocks to OpenGL.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

enum class DxtKind { Dxt1, Dxt3, Dxt5 };

// Bytes of one 4x4 block: 8 for DXT1, 16 for DXT3 and DXT5.
std::size_t DxtBlockBytes(DxtKind kind);

// A width x height image stored as 4x4 blocks, row of blocks by row of
// blocks (the blocks on the right and bottom edges cut to the image), as RGBA
// rows packed, top row first. Nothing when `blocks` is too short for the
// image or memory runs out. A DXT1 block whose first colour is not above its
// second has a transparent fourth colour.
std::optional<std::vector<std::uint8_t>> DecompressDxt(DxtKind kind, std::uint32_t width, std::uint32_t height,
                                                       std::span<const std::uint8_t> blocks);

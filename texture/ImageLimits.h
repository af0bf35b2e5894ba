// Bounds every texture reader checks before it reserves pixel memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Used when no context answers for GL_MAX_TEXTURE_SIZE.
constexpr std::uint32_t kFallbackMaxTextureSide = 16384;

// The largest width or height the current context accepts for a 2D texture.
std::uint32_t MaxTextureSide();

// True when neither side is 0 and none exceeds maxSide.
bool SidesAccepted(std::uint64_t width, std::uint64_t height, std::uint32_t maxSide);

// width × height × bytesPerPixel, or nothing if it does not fit in size_t.
std::optional<std::size_t> ImageBytes(std::uint64_t width, std::uint64_t height, std::uint64_t bytesPerPixel);

// Resizes `buffer` to `size` bytes; false (buffer left empty) when memory runs out.
bool ReserveBytes(std::vector<std::uint8_t>& buffer, std::size_t size);
// Makes `buffer` a copy of `bytes`, without zero-filling it first; false
// (buffer left empty) when memory runs out.
bool CopyBytes(std::vector<std::uint8_t>& buffer, std::span<const std::uint8_t> bytes);

#include "texture/ImageLimits.h"

#include <GL/gl.h>

#include <limits>
#include <new>
#include <stdexcept>

std::uint32_t MaxTextureSide()
{
    GLint side = 0;  // stays 0 when no context is current
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side > 0 ? static_cast<std::uint32_t>(side) : kFallbackMaxTextureSide;
}

bool SidesAccepted(std::uint64_t width, std::uint64_t height, std::uint32_t maxSide)
{
    return width != 0 && height != 0 && width <= maxSide && height <= maxSide;
}

std::optional<std::size_t> ImageBytes(std::uint64_t width, std::uint64_t height, std::uint64_t bytesPerPixel)
{
    std::uint64_t pixels = 0;
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(width, height, &pixels) || __builtin_mul_overflow(pixels, bytesPerPixel, &bytes) ||
        bytes > std::numeric_limits<std::size_t>::max())
        return std::nullopt;
    return static_cast<std::size_t>(bytes);
}

bool CopyBytes(std::vector<std::uint8_t>& buffer, std::span<const std::uint8_t> bytes)
{
    try {
        buffer.assign(bytes.begin(), bytes.end());
        return true;
    } catch (const std::bad_alloc&) {
        buffer = {};
        return false;
    }
}

bool ReserveBytes(std::vector<std::uint8_t>& buffer, std::size_t size)
{
    try {
        buffer.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        buffer = {};
        return false;
    } catch (const std::length_error&) {
        buffer = {};
        return false;
    }
}

#include "platform/PngFile.h"

#include "platform/FileReplacement.h"

#include <png.h>

#include <new>

namespace platform {

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> pixels, int components)
{
    static constexpr png_uint_32 kFormats[] = {PNG_FORMAT_GRAY, PNG_FORMAT_GA, PNG_FORMAT_RGB, PNG_FORMAT_RGBA};
    if (width <= 0 || height <= 0 || components < 1 || components > 4) return {};
    const std::size_t samples =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * static_cast<std::size_t>(components);
    if (pixels.size() != samples) return {};

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = kFormats[components - 1];
    // The first call only measures; the second writes into a buffer of that size.
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return {};
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return {};
    }
    bytes.resize(size);
    return bytes;
}

std::string WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
                     PngAlpha alpha)
{
    const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || rgba.size() != pixelCount * 4) return "the picture has no pixels";
    std::vector<std::uint8_t> png;
    if (alpha == PngAlpha::Keep) {
        png = EncodePng(width, height, rgba, 4);
    } else {
        std::vector<std::uint8_t> rgb(pixelCount * 3);
        for (std::size_t i = 0; i < pixelCount; ++i)
            for (std::size_t c = 0; c < 3; ++c) rgb[i * 3 + c] = rgba[i * 4 + c];
        png = EncodePng(width, height, rgb, 3);
    }
    if (png.empty()) return "cannot encode the picture";
    return WriteFileWhole(path, png);
}

}  // namespace platform

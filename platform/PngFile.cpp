#include "platform/PngFile.h"

#include <png.h>

namespace platform {

std::string WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
                     PngAlpha alpha)
{
    const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || rgba.size() != pixelCount * 4) return "the picture has no pixels";
    const std::size_t channels = alpha == PngAlpha::Keep ? 4 : 3;
    std::vector<std::uint8_t> packed(pixelCount * channels);
    for (std::size_t i = 0; i < pixelCount; ++i)
        for (std::size_t c = 0; c < channels; ++c) packed[i * channels + c] = rgba[i * 4 + c];

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = alpha == PngAlpha::Keep ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, packed.data(), 0, nullptr) == 0) {
        const std::string error = image.message;
        png_image_free(&image);
        return error.empty() ? "cannot write the picture" : error;
    }
    return {};
}

}  // namespace platform

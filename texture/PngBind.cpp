#include "texture/PngBind.h"

#include "platform/GlEntryPoints.h"
#include "texture/Decoders.h"
#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"

#include <GL/glu.h>

namespace {

std::uint32_t NearestPowerOfTwo(std::uint32_t side, std::uint32_t maxSide)
{
    std::uint32_t power = 1;
    while (power < side && power < maxSide) power <<= 1;
    // Between two powers, the nearer one; a tie goes up.
    if (power > side && power - side > side - power / 2) power /= 2;
    return power;
}

bool IsPowerOfTwo(std::uint32_t side) { return (side & (side - 1)) == 0; }

// Brings both sides to powers of two; false if GLU cannot.
bool ScaleToPowersOfTwo(TextureImage& image, std::uint32_t maxSide)
{
    const std::uint32_t width = NearestPowerOfTwo(image.width, maxSide);
    const std::uint32_t height = NearestPowerOfTwo(image.height, maxSide);
    if (width == image.width && height == image.height) return true;
    if (!platform::HasCurrentGlContext()) return false;
    std::vector<std::uint8_t> scaled;
    if (!ReserveBytes(scaled, *ImageBytes(width, height, image.components))) return false;
    const GLenum format = image.components == 4 ? GL_RGBA : GL_RGB;
    const PackedPixelStore packed;
    if (gluScaleImage(format, static_cast<GLint>(image.width), static_cast<GLint>(image.height), GL_UNSIGNED_BYTE,
                      image.pixels.data(), static_cast<GLint>(width), static_cast<GLint>(height), GL_UNSIGNED_BYTE,
                      scaled.data()) != 0)
        return false;
    image.width = width;
    image.height = height;
    image.pixels = std::move(scaled);
    return true;
}

}  // namespace

bool TakesAnyTextureSize() { return platform::HasGlExtension("GL_ARB_texture_non_power_of_two"); }

GLuint PngBind(const std::string& path, PngInfo& info, GLint wrap, GLint minFilter, GLint magFilter)
{
    std::optional<TextureImage> image;
    const std::uint32_t maxSide = MaxTextureSide();
    {
        const auto bytes = ReadFileBytes(path);
        if (!bytes) return 0;
        image = DecodePng(*bytes, DecodeContext{path, maxSide}).image;
    }
    if (!image) return 0;
    return UploadPngImage(*image, info, wrap, minFilter, magFilter);
}

GLuint UploadPngImage(TextureImage& image, PngInfo& info, GLint wrap, GLint minFilter, GLint magFilter)
{
    const std::uint32_t maxSide = MaxTextureSide();
    if (!(IsPowerOfTwo(image.width) && IsPowerOfTwo(image.height)) && !TakesAnyTextureSize() &&
        !ScaleToPowersOfTwo(image, maxSide))
        return 0;

    info.width = image.width;
    info.height = image.height;
    info.depth = 8;
    info.alpha = image.components == 4 ? 8 : 0;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    {
        const PackedPixelStore packed;
        const GLenum format = image.components == 4 ? GL_RGBA : GL_RGB;
        glTexImage2D(GL_TEXTURE_2D, 0, image.components, static_cast<GLsizei>(image.width),
                     static_cast<GLsizei>(image.height), 0, format, GL_UNSIGNED_BYTE, image.pixels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    return name;
}

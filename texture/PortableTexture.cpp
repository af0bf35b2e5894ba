#include "texture/PortableTexture.h"

#include "platform/PngFile.h"
#include "texture/DxtBlocks.h"
#include "texture/ImageLimits.h"
#include "texture/TexturePath.h"
#include "texture/TextureSource.h"

#include <GL/glext.h>

std::optional<DxtKind> DxtKindOf(GLenum format)
{
    switch (format) {
    case GL_COMPRESSED_RGB_S3TC_DXT1_EXT:
    case GL_COMPRESSED_RGBA_S3TC_DXT1_EXT: return DxtKind::Dxt1;
    case GL_COMPRESSED_RGBA_S3TC_DXT3_EXT: return DxtKind::Dxt3;
    case GL_COMPRESSED_RGBA_S3TC_DXT5_EXT: return DxtKind::Dxt5;
    default: return std::nullopt;
    }
}

namespace {

// RGBA texels without their alpha, when every texel is opaque.
std::vector<std::uint8_t> DropOpaqueAlpha(std::vector<std::uint8_t> rgba, int& components)
{
    if (ClassifyAlpha(rgba, 4) != TextureAlpha::None) return rgba;
    std::size_t kept = 0;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
        for (std::size_t c = 0; c < 3; ++c) rgba[kept++] = rgba[i + c];
    rgba.resize(kept);
    components = 3;
    return rgba;
}

// Samples of an uncompressed DDS layout as RGB (1 or 3 components in) or RGBA.
std::optional<TextureImage> FromSamples(const DdsImage& image, const DdsLevel& level,
                                        std::span<const std::uint8_t> samples)
{
    const std::size_t pixels = std::size_t{level.width} * level.height;
    const int from = image.components;
    if (from < 1 || from > 4 || samples.size() < pixels * static_cast<std::size_t>(from)) return std::nullopt;
    const int to = image.pixelFormat == GL_LUMINANCE || image.pixelFormat == GL_RGB ? 3 : 4;
    const bool copied = image.pixelFormat == GL_RGB || image.pixelFormat == GL_RGBA;
    if (copied && from != to) return std::nullopt;
    std::vector<std::uint8_t> out;
    if (!ReserveBytes(out, pixels * static_cast<std::size_t>(to))) return std::nullopt;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* in = samples.data() + i * static_cast<std::size_t>(from);
        std::uint8_t* texel = out.data() + i * static_cast<std::size_t>(to);
        switch (image.pixelFormat) {
        case GL_LUMINANCE_ALPHA: texel[0] = texel[1] = texel[2] = in[0], texel[3] = in[1]; break;
        case GL_LUMINANCE: texel[0] = texel[1] = texel[2] = in[0]; break;
        // An alpha texture leaves the colour it modulates as it is.
        case GL_ALPHA: texel[0] = texel[1] = texel[2] = 255, texel[3] = in[0]; break;
        default: std::copy(in, in + to, texel); break;  // GL_RGB, GL_RGBA
        }
    }
    return TextureImage{level.width, level.height, to, PixelBytes(std::move(out))};
}

std::optional<PortableTexture> AsPng(const TextureImage& image)
{
    PortableTexture texture{"image/png",
                            platform::EncodePng(static_cast<int>(image.width), static_cast<int>(image.height),
                                                image.pixels.bytes(), image.components),
                            ClassifyAlpha(image.pixels.bytes(), image.components), image.width, image.height};
    if (texture.bytes.empty()) return std::nullopt;
    return texture;
}

}  // namespace

std::optional<TextureImage> DdsSurfaceImage(const DdsImage& image)
{
    if (image.levels.empty()) return std::nullopt;
    const DdsLevel& level = image.levels[0];
    if (level.offset > image.data.size() || level.size > image.data.size() - level.offset) return std::nullopt;
    const std::span<const std::uint8_t> stored(image.data.data() + level.offset, level.size);
    if (image.pixelFormat != 0) return FromSamples(image, level, stored);

    const auto kind = DxtKindOf(image.format);
    if (!kind) return std::nullopt;
    auto rgba = DecompressDxt(*kind, level.width, level.height, stored);
    if (!rgba) return std::nullopt;
    int components = 4;
    if (*kind == DxtKind::Dxt1) *rgba = DropOpaqueAlpha(std::move(*rgba), components);
    return TextureImage{level.width, level.height, components, PixelBytes(std::move(*rgba))};
}

std::optional<PortableTexture> ReadPortableTexture(const std::string& fileName, const std::string& modelFolder)
{
    const auto chosen = ChooseTextureFormat(fileName);
    if (!chosen) return std::nullopt;
    // No context to ask: the readers' own limit.
    const TextureFile file{fileName, ResolveTextureFile(fileName, modelFolder)};
    TextureFileContents contents;
    // A file is carried out as whatever its bytes are, whatever its name says.
    const TextureFormat format =
        ReadChoosingByContent(ReaderChoice::ContentOnRefusal, *chosen, file.path, [&](TextureFormat reader) {
            contents = ReadTextureFile(reader, file, kFallbackMaxTextureSide);
            return contents.image || contents.dds;
        });

    if (format == TextureFormat::Png || format == TextureFormat::Jpeg) {
        if (!contents.image || !contents.bytes) return std::nullopt;
        const TextureImage& image = *contents.image;
        const auto bytes = contents.bytes->bytes();
        return PortableTexture{format == TextureFormat::Png ? "image/png" : "image/jpeg",
                               {bytes.begin(), bytes.end()},
                               ClassifyAlpha(image.pixels.bytes(), image.components),
                               image.width,
                               image.height};
    }
    if (contents.dds) contents.image = DdsSurfaceImage(*contents.dds);
    if (!contents.image) return std::nullopt;
    return AsPng(*contents.image);
}

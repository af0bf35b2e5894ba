// Uncompressed true-colour TGA files, 24 or 32 bits, stored either way up.
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/TextureMessages.h"

namespace {

constexpr std::size_t kHeaderBytes = 18;
constexpr std::uint8_t kTopRowFirst = 0x20;

std::uint32_t Little16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | (static_cast<std::uint32_t>(bytes[at + 1]) << 8);
}

// Copies one row of B,G,R(,A) pixels as R,G,B(,A).
template <int kBytesPerPixel>
void CopyRowSwappingRedBlue(const std::uint8_t* source, std::uint8_t* target, std::uint32_t width)
{
    for (std::uint32_t x = 0; x < width; ++x, source += kBytesPerPixel, target += kBytesPerPixel) {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
        if constexpr (kBytesPerPixel == 4) target[3] = source[3];
    }
}

}  // namespace

Decoded<TextureImage> DecodeTga(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;

    if (bytes.size() < kHeaderBytes) return Refuse(result, IncompleteMessage(kTga, context.name));
    const std::size_t idLength = bytes[0];
    // Colour-mapped, grey-scale and run-length encoded files are refused.
    if (bytes[1] != 0 || bytes[2] != 2) return Refuse(result, ReaderMessage(kTga, context.name, ""));
    const std::uint32_t width = Little16(bytes, 12);
    const std::uint32_t height = Little16(bytes, 14);
    const std::uint8_t depth = bytes[16];
    if (depth != 24 && depth != 32) return Refuse(result, ReaderMessage(kTga, context.name, " n'est pas 24 ou 32bits"));
    const bool topRowFirst = (bytes[17] & kTopRowFirst) != 0;
    if (!SidesAccepted(width, height, context.maxSide))
        return Refuse(result, SizeMessage(kTga, context.name, width, height));

    const int bytesPerPixel = depth / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    const std::size_t pixelBytes = *ImageBytes(width, height, bytesPerPixel);
    const std::size_t start = kHeaderBytes + idLength;
    if (bytes.size() < start || bytes.size() - start < pixelBytes)
        return Refuse(result, IncompleteMessage(kTga, context.name));

    TextureImage image;
    image.width = width;
    image.height = height;
    image.components = bytesPerPixel;
    std::vector<std::uint8_t> pixels;
    if (!ReserveBytes(pixels, pixelBytes)) return Refuse(result, MemoryMessage(kTga, context.name));
    // Rows stored bottom-up are turned over on the way, so the image starts with its top row.
    for (std::uint32_t row = 0; row < height; ++row) {
        const std::uint8_t* source = bytes.data() + start + row * rowBytes;
        std::uint8_t* target = pixels.data() + (topRowFirst ? row : height - 1 - row) * rowBytes;
        if (bytesPerPixel == 4)
            CopyRowSwappingRedBlue<4>(source, target, width);
        else
            CopyRowSwappingRedBlue<3>(source, target, width);
    }
    image.pixels = std::move(pixels);
    result.image = std::move(image);
    return result;
}

HRESULT LoadTexture::Load_TGA(const TextureFile& file)
{
    // The mipmap levels are built but the filter never samples them.
    return ReadDecodeUpload(file, TextureFormat::Tga, GL_LINEAR);
}

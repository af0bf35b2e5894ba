// Windows bitmaps, through the desktop's bitmap loader.
#include "platform/BitmapLoader.h"
#include "texture/Decoders.h"
#include "texture/LoadTexture.h"
#include "texture/ImageLimits.h"
#include "texture/TextureMessages.h"

namespace {

Decoded<TextureImage> FromBitmap(platform::DecodedBitmap bitmap, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    switch (bitmap.status) {
    case platform::BitmapStatus::Loaded: break;
    case platform::BitmapStatus::Unreadable:
        // Whatever the loader does not read counts as no bitmap at all.
        return Refuse(result, ReaderMessage(kBmp, context.name, " n'existe pas"));
    case platform::BitmapStatus::BadSize:
        return Refuse(result, SizeMessage(kBmp, context.name, bitmap.width, bitmap.height));
    case platform::BitmapStatus::Incomplete:
        return Refuse(result, IncompleteMessage(kBmp, context.name));
    case platform::BitmapStatus::OutOfMemory:
        return Refuse(result, MemoryMessage(kBmp, context.name));
    }
    TextureImage image;
    image.width = bitmap.width;
    image.height = bitmap.height;
    image.components = 3;
    image.pixels = PixelBytes(std::move(bitmap.rgb), bitmap.size);
    result.image = std::move(image);
    return result;
}

}  // namespace

Decoded<TextureImage> DecodeBmp(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    return FromBitmap(platform::DecodeBitmap(bytes, context.maxSide), context);
}

Decoded<TextureImage> DecodeBmpFile(const std::string& path, const DecodeContext& context)
{
    return FromBitmap(platform::DecodeBitmapFile(path, context.maxSide), context);
}

HRESULT LoadTexture::Load_BMP(const TextureFile& file)
{
    return ReadDecodeUpload(file, TextureFormat::Bmp, GL_LINEAR_MIPMAP_LINEAR);
}

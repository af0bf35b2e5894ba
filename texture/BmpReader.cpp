// Windows bitmaps, through the desktop's bitmap loader.
#include "platform/BitmapLoader.h"
#include "texture/Decoders.h"
#include "texture/ReadAndUpload.h"
#include "texture/ReaderMessages.h"

namespace {
constexpr ReaderWording kBmp{"Ce fichier: ", "Load_BMP", ". ", kErrorCaption};
}

Decoded<TextureImage> DecodeBmp(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    auto bitmap = platform::DecodeBitmap(bytes, context.maxSide);
    switch (bitmap.status) {
    case platform::BitmapStatus::Loaded: break;
    case platform::BitmapStatus::Unreadable:
        // Whatever the loader does not read counts as no bitmap at all.
        result.messages.push_back(ReaderMessage(kBmp, context.name, " n'existe pas"));
        return result;
    case platform::BitmapStatus::BadSize:
        result.messages.push_back(SizeMessage(kBmp, context.name, bitmap.width, bitmap.height));
        return result;
    case platform::BitmapStatus::Incomplete:
        result.messages.push_back(IncompleteMessage(kBmp, context.name));
        return result;
    case platform::BitmapStatus::OutOfMemory:
        result.messages.push_back(MemoryMessage(kBmp, context.name));
        return result;
    }
    TextureImage image;
    image.width = bitmap.width;
    image.height = bitmap.height;
    image.components = 3;
    image.pixels = std::move(bitmap.rgb);
    result.image = std::move(image);
    return result;
}

HRESULT LoadTexture::Load_BMP(const TextureFile& file)
{
    return ReadDecodeUpload(*this, file, ReaderMessage(kBmp, file.name, " n'existe pas"), DecodeBmp,
                            GL_LINEAR_MIPMAP_LINEAR);
}

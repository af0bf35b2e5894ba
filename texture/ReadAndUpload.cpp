#include "texture/ReadAndUpload.h"

#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"

HRESULT ReadDecodeUpload(LoadTexture& texture, const TextureFile& file, const TextureMessage& missing,
                         ImageDecoder decode, GLenum minFilter)
{
    std::optional<TextureImage> image;
    {
        const auto bytes = ReadFileBytes(file.path);
        if (!bytes) {
            ShowTextureMessages({missing});
            return E_FAIL;
        }
        auto decoded = decode(*bytes, DecodeContext{file.name, MaxTextureSide()});
        ShowTextureMessages(decoded.messages);
        image = std::move(decoded.image);
    }  // the file's bytes go before the upload makes its own copies
    if (!image) return E_FAIL;
    texture.UploadTextureImage(std::move(*image), minFilter);
    return S_OK;
}

#include "texture/Decoders.h"
#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/PngBind.h"
#include "texture/TextureMessages.h"

namespace {
constexpr ReaderWording kPng{"Ce fichier: ", "Load_PNG", ". ", kErrorCaption};
}

// PngBind's steps, so that the decoder's own refusal reaches the user.
HRESULT LoadTexture::Load_PNG(const TextureFile& file)
{
    Decoded<TextureImage> decoded;
    {
        const auto bytes = ReadFileBytes(file.path);
        if (bytes) decoded = DecodePng(*bytes, DecodeContext{file.name, MaxTextureSide()});
    }  // the file's bytes go before the upload
    PngInfo info;
    const GLuint name = decoded.image ? UploadPngImage(*decoded.image, info, GL_REPEAT, GL_LINEAR, GL_LINEAR) : 0;
    // The object takes whatever came back, 0 included; a texture it held goes first.
    ReleaseTexture();
    textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    if (name == 0) {
        if (decoded.messages.empty()) decoded.messages.push_back(ReaderMessage(kPng, file.name, " n'existe pas"));
        ShowTextureMessages(decoded.messages);
        return E_FAIL;
    }
    return S_OK;
}

#include "texture/LoadTexture.h"
#include "texture/PngBind.h"
#include "texture/ReaderMessages.h"

namespace {
constexpr ReaderWording kPng{"Ce fichier: ", "Load_PNG", ". ", kErrorCaption};
}

HRESULT LoadTexture::Load_PNG(const TextureFile& file)
{
    PngInfo info;
    const GLuint name = PngBind(file.path, info, GL_REPEAT, GL_LINEAR, GL_LINEAR);
    // The object takes whatever came back, 0 included; a texture it held goes first.
    ReleaseTexture();
    textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    if (name == 0) {
        ShowTextureMessages({ReaderMessage(kPng, file.name, " n'existe pas")});
        return E_FAIL;
    }
    return S_OK;
}

#include "texture/LoadTexture.h"

LoadTexture& LoadTexture::operator=(LoadTexture&& other) noexcept
{
    if (this != &other) {
        ReleaseTexture();
        textureId = other.textureId;
        other.textureId = kNone;
    }
    return *this;
}

void LoadTexture::ReleaseTexture()
{
    if (textureId == kNone) return;
    glDeleteTextures(1, &textureId);
    textureId = kNone;
}

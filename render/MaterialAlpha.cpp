#include "render/MaterialAlpha.h"

#include <GL/gl.h>

namespace render {

AlphaMode AuthoredAlphaMode(const MaterialRecord& material, const LoadTexture* texture)
{
    TextureAlpha alpha = TextureAlpha::None;
    if (texture && texture->facts() && texture->facts()->alpha) alpha = *texture->facts()->alpha;
    return MaterialAlphaMode(material.colors.diffuse[3], alpha);
}

void AlphaState::Setup(const MaterialRecord& material, const DrawnTexture& drawn)
{
    if (drawn.asAuthored) Apply(AuthoredAlphaMode(material, drawn.texture));
}

void AlphaState::Apply(AlphaMode mode)
{
    // The starting state is that of blending.
    if (mode_.value_or(AlphaMode::Blend) == mode) return;
    mode_ = mode;
    if (mode == AlphaMode::Blend) glEnable(GL_BLEND);
    else glDisable(GL_BLEND);
    if (mode == AlphaMode::Mask) {
        glAlphaFunc(GL_GEQUAL, kAlphaCutoff);
        glEnable(GL_ALPHA_TEST);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    // Opaque: the colour modulated by the texture as before, the alpha the
    // lit material's alone.
    const bool materialAlpha = mode == AlphaMode::Opaque;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, materialAlpha ? GL_COMBINE : GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, materialAlpha ? GL_REPLACE : GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, materialAlpha ? GL_PRIMARY_COLOR : GL_TEXTURE);
}

AlphaState::~AlphaState()
{
    if (mode_) Apply(AlphaMode::Blend);
}

}  // namespace render

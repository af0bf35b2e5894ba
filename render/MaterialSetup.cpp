#include "render/MaterialSetup.h"

namespace render {

void ApplyColors(const MaterialColors& colors)
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, colors.ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colors.diffuse.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, colors.specular.data());
    glMaterialfv(GL_FRONT, GL_EMISSION, colors.emissive.data());
    glMaterialfv(GL_FRONT, GL_SHININESS, &colors.power);
}

void MaterialState::Apply(const MaterialColors& colors)
{
    if (colors_ && *colors_ == colors) return;
    ApplyColors(colors);
    colors_ = colors;
}

void MaterialState::Bind(GLuint texture)
{
    if (texture_ && *texture_ == texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    texture_ = texture;
}

void MaterialState::Setup(const MaterialRecord& material, const LoadTexture* texture)
{
    Apply(material.colors);
    if (!material.textureFile.empty()) Bind(texture ? texture->GetTextureId() : 0);
}

void MaterialState::ResetAfterMesh()
{
    Bind(0);
    Apply(MaterialColors{});
}

}  // namespace render

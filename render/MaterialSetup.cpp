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
    // The material's colours replace all five default ones, and its texture
    // the reset's 0: only an untextured material takes what the reset owes.
    if (resetOwed_) {
        resetOwed_ = false;
        if (material.textureFile.empty()) Bind(0);
    }
    Apply(material.colors);
    if (!material.textureFile.empty()) Bind(texture ? texture->GetTextureId() : 0);
}

void MaterialState::Setup(const MaterialRecord& material, const DrawnTexture& drawn)
{
    alpha_.Setup(material, drawn);
    Setup(material, drawn.texture);
}

void MaterialState::SetupWithoutMaterial() { SettleReset(); }

void MaterialState::SettleReset()
{
    if (!resetOwed_) return;
    resetOwed_ = false;
    Bind(0);
    Apply(MaterialColors{});
}

void MaterialState::TakeVertexColors()
{
    if (vertexColors_) return;
    SettleReset();  // colour material then starts from the defaults, as after a reset made in place
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    vertexColors_ = true;
}

void MaterialState::ResetAfterMesh()
{
    if (vertexColors_) {
        glDisable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);  // OpenGL's default, which the extras rely on
        glColor4f(1, 1, 1, 1);
        colors_.reset();  // the diffuse colour is the last vertex's now
        vertexColors_ = false;
    }
    resetOwed_ = true;
}

void MaterialState::Finish() { SettleReset(); }

}  // namespace render

#include "render/MaterialSetup.h"

#include <GL/gl.h>

namespace render {

void ApplyColors(const MaterialColors& colors)
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, colors.ambient.data());
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colors.diffuse.data());
    glMaterialfv(GL_FRONT, GL_SPECULAR, colors.specular.data());
    glMaterialfv(GL_FRONT, GL_EMISSION, colors.emissive.data());
    glMaterialfv(GL_FRONT, GL_SHININESS, &colors.power);
}

void SetupMaterial(const MaterialRecord& material, const LoadTexture* texture)
{
    ApplyColors(material.colors);
    if (!material.textureFile.empty()) glBindTexture(GL_TEXTURE_2D, texture ? texture->GetTextureId() : 0);
}

void ResetAfterMesh()
{
    glBindTexture(GL_TEXTURE_2D, 0);
    MaterialColors defaults;
    defaults.SetDefaults();
    ApplyColors(defaults);
}

}  // namespace render

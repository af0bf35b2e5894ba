#include "render/MaterialSetup.h"

namespace render {

void SetupMaterial(const MaterialRecord& material)
{
    material.colors.Apply();
    if (!material.textureFile.empty()) glBindTexture(GL_TEXTURE_2D, material.texture.GetTextureId());
}

void ResetAfterMesh()
{
    glBindTexture(GL_TEXTURE_2D, 0);
    MaterialColors defaults;
    defaults.SetDefaults();
    defaults.Apply();
}

}  // namespace render

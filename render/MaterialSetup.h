// The OpenGL steps every draw path shares: a material's colours, setting up
// a material before its triangles, and resetting texture and colours after a
// mesh.
#pragma once

#include "model/Records.h"
#include "texture/LoadTexture.h"

namespace render {

// Sets the OpenGL material of the front faces (ambient, diffuse, specular,
// emission, shininess).
void ApplyColors(const MaterialColors& colors);

// Applies the material's colours; binds its texture (0 when it has none) only
// when it names a texture file, so an untextured material keeps whatever
// texture is bound.
void SetupMaterial(const MaterialRecord& material, const LoadTexture* texture);

// Unbinds the texture and applies the default colours.
void ResetAfterMesh();

}  // namespace render

// The two OpenGL steps every draw path shares: setting up a material before
// its triangles, and resetting texture and colours after a mesh.
#pragma once

#include "model/Records.h"

namespace render {

// Applies the material's colours; binds its texture only when it names a
// texture file, so an untextured material keeps whatever texture is bound.
void SetupMaterial(const MaterialRecord& material);

// Unbinds the texture and applies the default colours.
void ResetAfterMesh();

}  // namespace render

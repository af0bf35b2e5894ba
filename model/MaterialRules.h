// What the readers of ".x" files share about materials.
#pragma once

#include "model/Records.h"

#include <string>
#include <string_view>

// The key shared materials are found by: the name as kept (cut to the name
// limit), in ASCII lower case.
std::string MaterialKey(std::string_view name);

// A mesh is as opaque as its least opaque material.
inline void LowerOpacity(float& meshOpacity, const MaterialColors& colors)
{
    if (meshOpacity > colors.diffuse[3]) meshOpacity = colors.diffuse[3];
}

// A material list's slot that names a shared material takes its texture and
// colours (and keeps its own name).
inline void FillFromShared(const MaterialRecord& shared, MaterialRecord& slot, float& meshOpacity)
{
    slot.textureFile = shared.textureFile;
    slot.colors = shared.colors;
    LowerOpacity(meshOpacity, shared.colors);
}

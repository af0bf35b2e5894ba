// What a "Material" object means, and how a mesh's material list fills its
// slots from inline materials and references to shared ones.
#pragma once

#include "model/Records.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace objects {

// The key shared materials are found by: the name as kept (cut to the name
// limit), in ASCII lower case.
std::string MaterialKey(std::string_view name);

// A mesh is as opaque as its least opaque material.
inline void LowerOpacity(float& meshOpacity, const MaterialColors& colors)
{
    if (meshOpacity > colors.diffuse[3]) meshOpacity = colors.diffuse[3];
}

// A material list's slot that names a shared material takes its textures and
// colours (and keeps its own name).
inline void FillFromShared(const MaterialRecord& shared, MaterialRecord& slot, float& meshOpacity)
{
    slot.textureFile = shared.textureFile;
    slot.textureFiles = shared.textureFiles;
    slot.colors = shared.colors;
    LowerOpacity(meshOpacity, shared.colors);
}

// A face colour whose alpha is exactly 0 means opaque: exporters write 0
// where they mean "no transparency".
inline float OpaqueWhenZero(float alpha) { return alpha == 0.0f ? 1.0f : alpha; }

// A "Material" object's numbers as its reader finds them: the face colour
// (RGBA), the power (none when the object gives none), the specular and the
// emissive colours (RGB).
struct MaterialValues {
    float face[4] = {0, 0, 0, 0};
    std::optional<float> power;
    float specular[3] = {0, 0, 0};
    float emissive[3] = {0, 0, 0};
};

// The colours they give: the face colour is both ambient and diffuse, the
// other two are opaque, the power is 1 when missing.
MaterialColors MaterialColorsOf(const MaterialValues& values);

// The name an object is kept under: its own (cut to the name limit), or
// "Unnamed" when it has none.
std::string NameOrUnnamed(std::string_view name);

// Slot `slot` of a material list, or none past its ends.
MaterialRecord* MaterialSlot(std::vector<MaterialRecord>& materials, std::int32_t slot);

// Puts `material` in slot `cursor` of the mesh's list (when the list has
// one there) and moves the cursor on. Past the end of the list the cursor
// keeps counting, without overflow, so that what follows lands nowhere.
void PlaceMaterial(MeshRecord& mesh, std::int32_t& cursor, const MaterialRecord& material);

// The shared materials (those outside any mesh), found by name.
class SharedMaterials {
public:
    void Add(std::vector<MaterialRecord>& shared, MaterialRecord material);
    // A reference fills one slot per shared material of its name, in the
    // order they were read.
    void PlaceReferenced(std::string_view name, const std::vector<MaterialRecord>& shared, MeshRecord& mesh,
                         std::int32_t& cursor) const;

private:
    std::unordered_map<std::string, std::vector<std::int32_t>> byName_;
};

}  // namespace objects

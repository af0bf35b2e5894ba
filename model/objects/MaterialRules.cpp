#include "model/objects/MaterialRules.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <limits>

namespace objects {

std::string MaterialKey(std::string_view name)
{
    std::string key(name.substr(0, MaterialRecord::kNameLimit));
    for (char& c : key) c = platform::AsciiLower(c);
    return key;
}

MaterialColors MaterialColorsOf(const MaterialValues& values)
{
    MaterialColors colors;
    const float alpha = OpaqueWhenZero(values.face[3]);
    colors.ambient = {values.face[0], values.face[1], values.face[2], alpha};
    colors.diffuse = colors.ambient;
    colors.power = values.power.value_or(1.0f);
    colors.specular = {values.specular[0], values.specular[1], values.specular[2], 1.0f};
    colors.emissive = {values.emissive[0], values.emissive[1], values.emissive[2], 1.0f};
    return colors;
}

std::string NameOrUnnamed(std::string_view name) { return name.empty() ? std::string("Unnamed") : LimitName(name); }

MaterialRecord* MaterialSlot(std::vector<MaterialRecord>& materials, std::int32_t slot)
{
    return slot >= 0 && slot < static_cast<std::int32_t>(materials.size()) ? &materials[static_cast<std::size_t>(slot)]
                                                                           : nullptr;
}

namespace {
void AdvanceCursor(std::int32_t& cursor, std::size_t steps)
{
    constexpr std::int64_t kLast = std::numeric_limits<std::int32_t>::max();
    const auto step = static_cast<std::int64_t>(std::min<std::size_t>(steps, kLast));
    cursor = static_cast<std::int32_t>(std::min<std::int64_t>(kLast, cursor + step));
}
}  // namespace

void PlaceMaterial(MeshRecord& mesh, std::int32_t& cursor, const MaterialRecord& material)
{
    if (MaterialRecord* slot = MaterialSlot(mesh.materials, cursor)) {
        *slot = material;
        LowerOpacity(mesh.opacity, material.colors);
    }
    AdvanceCursor(cursor, 1);
}

void SharedMaterials::Add(std::vector<MaterialRecord>& shared, MaterialRecord material)
{
    byName_[MaterialKey(material.name)].push_back(static_cast<std::int32_t>(shared.size()));
    shared.push_back(std::move(material));
}

void SharedMaterials::PlaceReferenced(std::string_view name, const std::vector<MaterialRecord>& shared,
                                      MeshRecord& mesh, std::int32_t& cursor) const
{
    const auto found = byName_.find(MaterialKey(name));
    if (found == byName_.end()) return;
    const std::vector<std::int32_t>& matches = found->second;
    std::size_t k = 0;
    for (; k < matches.size(); ++k, ++cursor) {
        MaterialRecord* slot = MaterialSlot(mesh.materials, cursor);
        if (!slot) break;
        FillFromShared(shared[static_cast<std::size_t>(matches[k])], *slot, mesh.opacity);
    }
    // Past the end of the list matches fill nothing but still take their place.
    AdvanceCursor(cursor, matches.size() - k);
}

}  // namespace objects

// Readers of "Header", "Material" and "TextureFilename", and the references
// to shared materials inside a mesh's material list.
#include "model/MaterialRules.h"
#include "model/text/ReadErrors.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "model/text/TextWalk.h"

#include <algorithm>
#include <limits>

namespace {

MaterialRecord* Slot(std::vector<MaterialRecord>& materials, std::int32_t slot)
{
    return slot >= 0 && slot < static_cast<std::int32_t>(materials.size()) ? &materials[static_cast<std::size_t>(slot)]
                                                                           : nullptr;
}

// Moves a material list's cursor on; past the end of any list it stops
// growing rather than overflow.
void AdvanceCursor(std::int32_t& cursor, std::size_t steps)
{
    constexpr std::int64_t kLast = std::numeric_limits<std::int32_t>::max();
    const auto step = static_cast<std::int64_t>(std::min<std::size_t>(steps, kLast));
    cursor = static_cast<std::int32_t>(std::min<std::int64_t>(kLast, cursor + step));
}

// The colour lines below a material's name line.
MaterialColors ReadColors(const TextReader& reader, std::int32_t line)
{
    MaterialColors colors;
    float r = 0, g = 0, b = 0, a = 0;
    Scan(reader.Line(line + 1), "%f;%f;%f;%f;", r, g, b, a);
    if (a == 0.0f) a = 1.0f;  // a fully transparent face colour means opaque
    colors.ambient = {r, g, b, a};
    colors.diffuse = {r, g, b, a};
    if (Scan(reader.Line(line + 2), "%f;", colors.power) < 1) colors.power = 1.0f;
    Scan(reader.Line(line + 3), "%f;%f;%f;", r, g, b);
    colors.specular = {r, g, b, 1.0f};
    Scan(reader.Line(line + 4), "%f;%f;%f;", r, g, b);
    colors.emissive = {r, g, b, 1.0f};
    return colors;
}

// The text between the first two double quotes; after the first one when
// there is no second; the whole text without quotes.
std::string_view QuotedName(std::string_view text)
{
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) return text;
    const std::string_view after = text.substr(open + 1);
    return after.substr(0, after.find('"'));
}

}  // namespace

HRESULT TextReader::ReadHeader(std::int32_t line)
{
    Scan(Line(line + 1), "%d;", model_.headerMajor);
    Scan(Line(line + 2), "%d;", model_.headerMinor);
    Scan(Line(line + 3), "%d;", model_.headerFlags);
    return S_OK;
}

HRESULT TextReader::ReadMaterial(std::int32_t line)
{
    const Words words = SplitWords(Line(line));
    const std::string name = words.count >= 3 ? LimitName(words[1]) : std::string("Unnamed");
    const MaterialColors colors = ReadColors(*this, line);

    if (IsOpenBlock(0, "MeshMaterialList")) {
        // Materials beyond the list's count are skipped but keep their place,
        // so that their texture names land nowhere.
        if (MaterialRecord* target = Slot(currentMesh_.materials, materialCursor_)) {
            target->name = name;
            target->textureFile.clear();
            target->colors = colors;
            LowerOpacity(currentMesh_.opacity, colors);
        }
        AdvanceCursor(materialCursor_, 1);
        return S_OK;
    }

    const auto position = static_cast<std::int32_t>(model_.sharedMaterials.size());
    model_.sharedMaterials.push_back({name, colors, {}});
    sharedMaterialsByName_[MaterialKey(name)].push_back(position);
    return S_OK;
}

HRESULT TextReader::ReadTextureFilename(std::int32_t line)
{
    const std::string_view text = Contains(Line(line), '"') ? Line(line) : Line(line + 1);
    MaterialRecord* target = IsOpenBlock(1, "MeshMaterialList") ? Slot(currentMesh_.materials, materialCursor_ - 1)
                                                                   : Slot(model_.sharedMaterials, static_cast<std::int32_t>(model_.sharedMaterials.size()) - 1);
    if (target) target->textureFile = std::string(QuotedName(text));  // no material to name: ignored
    return S_OK;
}

void TextReader::ResolveMaterialReference(std::string_view name)
{
    const auto found = sharedMaterialsByName_.find(MaterialKey(name));
    if (found == sharedMaterialsByName_.end()) return;
    // Every shared material of that name fills the next slot, in the order read.
    const std::vector<std::int32_t>& matches = found->second;
    std::size_t k = 0;
    for (; k < matches.size(); ++k, ++materialCursor_) {
        MaterialRecord* target = Slot(currentMesh_.materials, materialCursor_);
        if (!target) break;
        FillFromShared(model_.sharedMaterials[static_cast<std::size_t>(matches[k])], *target, currentMesh_.opacity);
    }
    // Past the end of the list matches fill nothing but still take their place.
    AdvanceCursor(materialCursor_, matches.size() - k);
}

// Readers of "Header", "Material" and "TextureFilename", and the references
// to shared materials inside a mesh's material list.
#include "model/Model.h"

#include "model/ReadErrors.h"
#include "model/ScanFormat.h"
#include "model/TextHelpers.h"

#include <algorithm>
#include <limits>

using reading::LineOrEmpty;

namespace {

bool IsBlock(const Model& model, std::int32_t depthFromInnermost, std::string_view word)
{
    const std::int32_t index = model.blockDepth - 1 - depthFromInnermost;
    return index >= 0 && platform::EqualIgnoringAsciiCase(model.blockStack[static_cast<std::size_t>(index)], word);
}

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

// Names of shared materials compare without regard to ASCII case.
std::string LowerCaseKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key) c = platform::AsciiLower(c);
    return key;
}

// The colour lines below a material's name line.
MaterialColors ReadColors(const Model& model, std::int32_t line)
{
    MaterialColors colors;
    float r = 0, g = 0, b = 0, a = 0;
    Scan(LineOrEmpty(model, line + 1), "%f;%f;%f;%f;", r, g, b, a);
    if (a == 0.0f) a = 1.0f;  // a fully transparent face colour means opaque
    colors.ambient = {r, g, b, a};
    colors.diffuse = {r, g, b, a};
    if (Scan(LineOrEmpty(model, line + 2), "%f;", colors.power) < 1) colors.power = 1.0f;
    Scan(LineOrEmpty(model, line + 3), "%f;%f;%f;", r, g, b);
    colors.specular = {r, g, b, 1.0f};
    Scan(LineOrEmpty(model, line + 4), "%f;%f;%f;", r, g, b);
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

HRESULT Model::ReadHeader(std::int32_t line)
{
    Scan(LineOrEmpty(*this, line + 1), "%d;", headerMajor);
    Scan(LineOrEmpty(*this, line + 2), "%d;", headerMinor);
    Scan(LineOrEmpty(*this, line + 3), "%d;", headerFlags);
    return S_OK;
}

HRESULT Model::ReadMaterial(std::int32_t line)
{
    const Words words = SplitWords(Line(line));
    const std::string name = words.count >= 3 ? LimitName(words[1]) : std::string("Unnamed");
    const MaterialColors colors = ReadColors(*this, line);

    if (IsBlock(*this, 0, "MeshMaterialList")) {
        // Materials beyond the list's count are skipped but keep their place,
        // so that their texture names land nowhere.
        if (MaterialRecord* target = Slot(currentMesh.materials, materialCursor)) {
            target->name = name;
            target->textureFile.clear();
            target->colors = colors;
            if (currentMesh.opacity > colors.diffuse[3]) currentMesh.opacity = colors.diffuse[3];
        }
        AdvanceCursor(materialCursor, 1);
        return S_OK;
    }

    MaterialRecord& target = sharedMaterials.emplace_back();
    target.name = name;
    target.colors = colors;
    sharedMaterialsByName[LowerCaseKey(name)].push_back(sharedMaterialsRead);
    sharedMaterialCount = static_cast<std::int32_t>(sharedMaterials.size());
    ++sharedMaterialsRead;
    return S_OK;
}

HRESULT Model::ReadTextureFilename(std::int32_t line)
{
    const std::string_view text = Contains(Line(line), '"') ? Line(line) : LineOrEmpty(*this, line + 1);
    MaterialRecord* target = IsBlock(*this, 1, "MeshMaterialList") ? Slot(currentMesh.materials, materialCursor - 1)
                                                                   : Slot(sharedMaterials, sharedMaterialsRead - 1);
    if (target) target->textureFile = std::string(QuotedName(text));  // no material to name: ignored
    return S_OK;
}

void Model::ResolveMaterialReference(std::string_view name)
{
    const auto found = sharedMaterialsByName.find(LowerCaseKey(name.substr(0, MaterialRecord::kNameLimit)));
    if (found == sharedMaterialsByName.end()) return;
    // Every shared material of that name fills the next slot, in the order read.
    const std::vector<std::int32_t>& matches = found->second;
    std::size_t k = 0;
    for (; k < matches.size(); ++k, ++materialCursor) {
        MaterialRecord* target = Slot(currentMesh.materials, materialCursor);
        if (!target) break;
        const MaterialRecord& shared = sharedMaterials[static_cast<std::size_t>(matches[k])];
        target->textureFile = shared.textureFile;
        target->colors = shared.colors;
        if (currentMesh.opacity > shared.colors.diffuse[3]) currentMesh.opacity = shared.colors.diffuse[3];
    }
    // Past the end of the list matches fill nothing but still take their place.
    AdvanceCursor(materialCursor, matches.size() - k);
}

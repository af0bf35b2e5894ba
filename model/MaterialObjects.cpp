// Readers of "Header", "Material" and "TextureFilename", and the references
// to shared materials inside a mesh's material list.
#include "model/Model.h"

#include "model/ReadErrors.h"
#include "model/ScanFormat.h"
#include "model/TextHelpers.h"

#include <algorithm>

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
        ++materialCursor;
        return S_OK;
    }

    // Shared materials found after the first mesh were not counted: the table grows.
    if (sharedMaterialsRead >= static_cast<std::int32_t>(sharedMaterials.size())) {
        sharedMaterials.emplace_back();
        sharedMaterialCount = static_cast<std::int32_t>(sharedMaterials.size());
    }
    MaterialRecord& target = sharedMaterials[static_cast<std::size_t>(sharedMaterialsRead)];
    target.name = name;
    target.textureFile.clear();
    target.colors = colors;
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
    const std::string_view kept = name.substr(0, MaterialRecord::kNameLimit);
    const std::int32_t available = std::min(sharedMaterialsRead, static_cast<std::int32_t>(sharedMaterials.size()));
    for (std::int32_t k = 0; k < available; ++k) {
        const MaterialRecord& shared = sharedMaterials[static_cast<std::size_t>(k)];
        if (!platform::EqualIgnoringAsciiCase(shared.name, kept)) continue;
        if (MaterialRecord* target = Slot(currentMesh.materials, materialCursor)) {
            target->textureFile = shared.textureFile;
            target->colors = shared.colors;
            if (currentMesh.opacity > shared.colors.diffuse[3]) currentMesh.opacity = shared.colors.diffuse[3];
        }
        ++materialCursor;
    }
}

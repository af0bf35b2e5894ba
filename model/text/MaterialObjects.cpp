// Readers of "Header", "Material" and "TextureFilename", and the references
// to shared materials inside a mesh's material list.
#include "model/objects/MaterialRules.h"
#include "model/objects/SceneRules.h"
#include "model/text/ReadErrors.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "model/text/TextWalk.h"


namespace {

// The colour lines below a material's name line; a short line reads as zeros.
MaterialColors ReadColors(const TextReader& reader, std::int32_t line)
{
    objects::MaterialValues values;
    Scan(reader.Line(line + 1), "%f;%f;%f;%f;", values.face[0], values.face[1], values.face[2], values.face[3]);
    if (float power = 0; Scan(reader.Line(line + 2), "%f;", power) >= 1) values.power = power;
    Scan(reader.Line(line + 3), "%f;%f;%f;", values.specular[0], values.specular[1], values.specular[2]);
    Scan(reader.Line(line + 4), "%f;%f;%f;", values.emissive[0], values.emissive[1], values.emissive[2]);
    return objects::MaterialColorsOf(values);
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
    auto value = [&](std::int32_t at) -> std::optional<std::int32_t> {
        std::int32_t number = 0;
        if (Scan(Line(at), "%d;", number) != 1) return std::nullopt;
        return number;
    };
    objects::KeepHeader(model_, value(line + 1), value(line + 2), value(line + 3));
    return S_OK;
}

HRESULT TextReader::ReadMaterial(std::int32_t line)
{
    MaterialRecord material{objects::NameOrUnnamed(NameWord(SplitWords(Line(line)))), ReadColors(*this, line), {}, {}};
    // Materials beyond the list's count are skipped but keep their place,
    // so that their texture names land nowhere.
    if (IsOpenBlock(0, "MeshMaterialList"))
        objects::PlaceMaterial(currentMesh_, materialCursor_, material);
    else
        sharedMaterials_.Add(model_.sharedMaterials, std::move(material));
    return S_OK;
}

HRESULT TextReader::ReadTextureFilename(std::int32_t line)
{
    const std::string_view text = Contains(Line(line), '"') ? Line(line) : Line(line + 1);
    MaterialRecord* target =
        IsOpenBlock(1, "MeshMaterialList")
            ? objects::MaterialSlot(currentMesh_.materials, materialCursor_ - 1)
            : objects::MaterialSlot(model_.sharedMaterials, static_cast<std::int32_t>(model_.sharedMaterials.size()) - 1);
    if (!target) return S_OK;  // no material to name: ignored
    // The last name is the material's texture; every name is kept in order.
    target->textureFile = std::string(QuotedName(text));
    target->textureFiles.push_back(target->textureFile);
    return S_OK;
}

void TextReader::ResolveMaterialReference(std::string_view name)
{
    sharedMaterials_.PlaceReferenced(name, model_.sharedMaterials, currentMesh_, materialCursor_);
}

#include "app/SceneParts.h"

#include "render/LoadedModel.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <unordered_set>

namespace {

std::string NameOrUnnamed(const std::string& name) { return name.empty() ? "(sans nom)" : name; }

std::string ColourText(const std::array<float, 4>& c)
{
    char text[96];
    std::snprintf(text, sizeof text, "%g %g %g %g", static_cast<double>(c[0]), static_cast<double>(c[1]),
                  static_cast<double>(c[2]), static_cast<double>(c[3]));
    return text;
}

std::string_view FormatName(TextureFormat format)
{
    switch (format) {
    case TextureFormat::Jpeg: return "JPEG";
    case TextureFormat::Tga: return "TGA";
    case TextureFormat::Bmp: return "BMP";
    case TextureFormat::Ppm: return "PPM";
    case TextureFormat::Png: return "PNG";
    case TextureFormat::Dds: return "DDS";
    }
    return "?";
}

std::string_view DxtName(DxtKind kind)
{
    switch (kind) {
    case DxtKind::Dxt1: return "DXT1";
    case DxtKind::Dxt3: return "DXT3";
    case DxtKind::Dxt5: return "DXT5";
    }
    return "DXT";
}

// "256 × 128, PNG, 4 composantes" or "…, DDS, DXT5".
std::string FactsText(const TextureFacts& facts)
{
    std::string text = std::to_string(facts.width) + " × " + std::to_string(facts.height) + ", ";
    text += FormatName(facts.format);
    if (facts.dxt)
        text += std::string(", ") + std::string(DxtName(*facts.dxt));
    else
        text += ", " + std::to_string(facts.components) + (facts.components == 1 ? " composante" : " composantes");
    return text;
}

// What became of one texture name of a material.
std::string TextureText(const TextureReport& report, const std::string& name)
{
    if (name != report.loadedName) return "non lue (le matériau en dessine une autre)";
    if (report.texture && report.texture->facts()) return FactsText(*report.texture->facts());
    std::string text = "non chargée";
    for (std::size_t k = 0; k < report.messages.size(); ++k) text += (k == 0 ? " : " : " ; ") + report.messages[k].text;
    return text;
}

class RowWriter {
public:
    std::int32_t Add(ScenePartRow row)
    {
        rows.push_back(std::move(row));
        return static_cast<std::int32_t>(rows.size() - 1);
    }
    void Detail(std::int32_t parent, std::string label, std::string detail)
    {
        Add({ScenePartRow::Kind::Detail, parent, std::move(label), std::move(detail), -1, false});
    }
    std::vector<ScenePartRow> rows;
};

void AddMesh(RowWriter& out, const LoadedModel& loaded, std::size_t m, std::int32_t parent)
{
    const MeshRecord& mesh = loaded.model.meshes[m];
    std::string counts = std::to_string(mesh.vertexCount()) + " sommets, " + std::to_string(mesh.faceCount()) +
                         " faces, " + std::to_string(mesh.materialCount()) +
                         (mesh.materialCount() > 1 ? " matériaux" : " matériau");
    if (!mesh.skinWeights.empty()) counts += ", skin de " + std::to_string(mesh.skinWeights.size()) + " os";
    const std::int32_t meshRow =
        out.Add({ScenePartRow::Kind::Mesh, parent, NameOrUnnamed(mesh.name), std::move(counts),
                 static_cast<std::int32_t>(m), false});
    for (std::size_t k = 0; k < mesh.materials.size(); ++k) {
        const MaterialRecord& material = mesh.materials[k];
        const std::int32_t row = out.Add({ScenePartRow::Kind::Material, meshRow, NameOrUnnamed(material.name),
                                          "matériau " + std::to_string(k), -1, false});
        out.Detail(row, "Diffuse", ColourText(material.colors.diffuse));
        out.Detail(row, "Ambiante", ColourText(material.colors.ambient));
        out.Detail(row, "Spéculaire", ColourText(material.colors.specular));
        out.Detail(row, "Émissive", ColourText(material.colors.emissive));
        char power[32];
        std::snprintf(power, sizeof power, "%g", static_cast<double>(material.colors.power));
        out.Detail(row, "Puissance", power);
        const TextureReport* report = loaded.render.TextureReportOf(m, k);
        if (report == nullptr) continue;
        for (const std::string& name : report->names) out.Detail(row, "Texture", name + " : " + TextureText(*report, name));
    }
}

}  // namespace

std::vector<ScenePartRow> ScenePartRows(const LoadedModel& loaded)
{
    const Model& model = loaded.model;
    RowWriter out;

    // The meshes of each frame, in the model's order, in one pass.
    std::vector<std::vector<std::size_t>> meshesOfFrame(model.frames.size());
    std::vector<std::size_t> outside;
    for (std::size_t m = 0; m < model.meshes.size(); ++m) {
        const std::int32_t frame = model.meshes[m].frame;
        if (frame >= 0 && static_cast<std::size_t>(frame) < model.frames.size())
            meshesOfFrame[static_cast<std::size_t>(frame)].push_back(m);
        else
            outside.push_back(m);
    }

    // A bone is the first frame of the name a skin gives.
    std::unordered_set<std::string> boneNames;
    for (const MeshRecord& mesh : model.meshes)
        for (const SkinWeightsRecord& skin : mesh.skinWeights) boneNames.insert(skin.boneName);

    // Frames come parents first, so one pass in order places each under its
    // parent's row: the frame's meshes first, then its child frames.
    std::vector<std::int32_t> rowOfFrame(model.frames.size(), -1);
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        const FrameRecord& frame = model.frames[f];
        const bool parentBefore = frame.parent >= 0 && static_cast<std::size_t>(frame.parent) < f;
        const std::int32_t parent = parentBefore ? rowOfFrame[static_cast<std::size_t>(frame.parent)] : -1;
        const bool bone = boneNames.erase(frame.name) > 0;
        rowOfFrame[f] = out.Add({ScenePartRow::Kind::Frame, parent, NameOrUnnamed(frame.name),
                                 bone ? "frame, os" : "frame", -1, bone});
        for (const std::size_t m : meshesOfFrame[f]) AddMesh(out, loaded, m, rowOfFrame[f]);
    }
    for (const std::size_t m : outside) AddMesh(out, loaded, m, -1);
    return std::move(out.rows);
}

std::size_t OwningPart(const std::vector<ScenePartRow>& rows, std::size_t row)
{
    // Parents come before their children, so the walk up ends.
    while (row < rows.size() && rows[row].kind != ScenePartRow::Kind::Mesh &&
           rows[row].kind != ScenePartRow::Kind::Frame && rows[row].parent >= 0)
        row = static_cast<std::size_t>(rows[row].parent);
    return row;
}

std::vector<std::int32_t> MeshesUnder(const std::vector<ScenePartRow>& rows, std::size_t row)
{
    std::vector<std::int32_t> found;
    if (row >= rows.size()) return found;
    // A row is under `row` when its parent is; those rows follow it.
    std::vector<bool> under(rows.size(), false);
    under[row] = true;
    for (std::size_t r = row; r < rows.size(); ++r) {
        if (r > row) under[r] = rows[r].parent >= static_cast<std::int32_t>(row) && under[static_cast<std::size_t>(rows[r].parent)];
        if (under[r] && rows[r].kind == ScenePartRow::Kind::Mesh) found.push_back(rows[r].mesh);
    }
    return found;
}

std::int32_t MeshOfRow(const std::vector<ScenePartRow>& rows, std::size_t row)
{
    const std::size_t part = OwningPart(rows, row);
    return part < rows.size() && rows[part].kind == ScenePartRow::Kind::Mesh ? rows[part].mesh : -1;
}

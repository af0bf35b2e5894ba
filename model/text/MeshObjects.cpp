// Readers of the mesh data objects: "Mesh" (vertices and faces),
// "MeshTextureCoords" and "MeshMaterialList". Each count is checked against
// the lines that follow it before anything is sized from it.
#include "model/text/ReadErrors.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "model/text/TextWalk.h"


namespace {

constexpr const char* kReadMesh = "Model::ReadMesh";

// A face line holds its corner count, then its indices, each of at least one
// digit and separated by "," (some exporters use ";").
std::int32_t MostCornersOnLine(std::string_view indicesText)
{
    return static_cast<std::int32_t>((indicesText.size() + 1) / 2);
}

}  // namespace

HRESULT TextReader::ReadMesh(std::int32_t line)
{
    const Words words = SplitWords(Line(line));
    currentMesh_.name = words.count >= 3 ? LimitName(words[1]) : std::string("Unnamed");
    currentMesh_.frame = openFrames_.empty() ? -1 : openFrames_.back();
    const std::string object = reading::ObjectLabel("Mesh", currentMesh_.name);

    std::int32_t countLine = line + 1;
    while (countLine < lineCount() && Line(countLine).size() < 2) ++countLine;
    std::int32_t vertexCount = 0;
    Scan(Line(countLine), "%d;", vertexCount);
    if (!CountFits(vertexCount, countLine + 1))
        return reading::ReportBadCount(*this, object, vertexCount, countLine, kReadMesh);
    currentMesh_.vertices.assign(static_cast<std::size_t>(vertexCount), Vector3{});
    for (std::int32_t k = 0; k < vertexCount; ++k) {
        Vector3& vertex = currentMesh_.vertices[static_cast<std::size_t>(k)];
        ScanSeparated(Line(countLine + 1 + k), ';', vertex.x, vertex.y, vertex.z);
    }

    const std::int32_t faceCountLine = countLine + vertexCount + 1;
    std::int32_t faceCount = 0;
    Scan(Line(faceCountLine), "%d;", faceCount);
    if (!CountFits(faceCount, faceCountLine + 1))
        return reading::ReportBadCount(*this, object, faceCount, faceCountLine, kReadMesh);

    // Room for the usual triangles or quads; other polygons make the pool grow.
    const std::string_view firstFace = Line(faceCountLine + 1);
    std::int32_t firstCorners = 0;
    ScanSeparated(firstFace, ';', firstCorners);
    currentMesh_.faces.Clear();
    currentMesh_.faces.Reserve(static_cast<std::size_t>(faceCount),
                              static_cast<std::size_t>(faceCount) * (firstCorners == 3 ? 3 : 4));
    std::vector<std::int32_t> corners;
    for (std::int32_t face = 0; face < faceCount; ++face) {
        const std::int32_t faceLine = faceCountLine + 1 + face;
        const std::string_view text = Line(faceLine);
        std::int32_t cornerCount = 0;
        ScanSeparated(text, ';', cornerCount);
        std::string_view rest = CutThrough(text, ';');
        if (cornerCount < 0) return reading::ReportBadCount(*this, object, cornerCount, faceLine, kReadMesh);
        if (cornerCount > MostCornersOnLine(rest))
            return reading::ReportBadCornerCount(*this, object, cornerCount, faceLine, kReadMesh);
        corners.clear();
        for (std::int32_t k = 0; k < cornerCount; ++k) {
            std::int32_t index = 0;
            ScanIntField(rest, index);
            if (index < 0 || index >= vertexCount)
                return reading::ReportBadIndex(*this, object, "sommet", "sommets", index, vertexCount, faceLine,
                                               kReadMesh);
            corners.push_back(index);
            rest = CutThroughCommaOrSemicolon(rest);
        }
        currentMesh_.faces.Append(corners);
    }
    return S_OK;
}

HRESULT TextReader::ReadMeshTextureCoords(std::int32_t line)
{
    std::int32_t count = 0;
    Scan(Line(line + 1), "%d;", count);
    if (!CountFits(count, line + 2))
        return reading::ReportBadCount(*this, reading::ObjectLabel("MeshTextureCoords", currentMesh_.name), count,
                                       line + 1, "Model::ReadMeshTextureCoords");
    std::vector<TexCoord> texCoords(static_cast<std::size_t>(count));
    for (std::int32_t k = 0; k < count; ++k) {
        TexCoord& texCoord = texCoords[static_cast<std::size_t>(k)];
        ScanSeparated(Line(line + 2 + k), ';', texCoord.u, texCoord.v);
    }
    currentMesh_.texCoords = std::move(texCoords);
    return S_OK;
}

HRESULT TextReader::ReadMeshMaterialList(std::int32_t line)
{
    constexpr const char* kOperation = "Model::ReadMeshMaterialList";
    const std::string object = reading::ObjectLabel("MeshMaterialList", currentMesh_.name);
    materialCursor_ = 0;

    // Every material of the list takes at least one line below its count.
    std::int32_t materialCount = 0;
    Scan(Line(line + 1), "%d;", materialCount);
    if (!CountFits(materialCount, line + 2))
        return reading::ReportBadCount(*this, object, materialCount, line + 1, kOperation);
    std::vector<MaterialRecord> materials(static_cast<std::size_t>(materialCount));
    for (auto& material : materials) material.name = "Unnamed";
    currentMesh_.materials = std::move(materials);

    std::int32_t faceMaterialCount = 0;
    Scan(Line(line + 2), "%d;", faceMaterialCount);
    if (!CountFits(faceMaterialCount, line + 3))
        return reading::ReportBadCount(*this, object, faceMaterialCount, line + 2, kOperation);
    std::vector<std::int32_t> faceMaterials(static_cast<std::size_t>(faceMaterialCount));
    for (std::int32_t k = 0; k < faceMaterialCount; ++k) {
        std::int32_t& index = faceMaterials[static_cast<std::size_t>(k)];
        ScanSeparated(Line(line + 3 + k), ',', index);  // "%d": what follows the number is not read
        if (index < 0 || index >= materialCount)
            return reading::ReportBadIndex(*this, object, "matériau", "matériaux", index, materialCount, line + 3 + k,
                                           kOperation);
    }
    currentMesh_.faceMaterials = std::move(faceMaterials);
    return S_OK;
}

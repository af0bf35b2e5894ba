// The walk over the significant lines: header and brace checks, table sizing,
// the stack of open blocks and the hand-over of each known data object.
#include "model/Model.h"

#include "model/BraceLines.h"
#include "model/ReadErrors.h"
#include "model/ScanFormat.h"
#include "model/TextHelpers.h"
#include "platform/Messages.h"

#include <array>

namespace {

// The words that name blocks the reader recognises, in the order they are tried.
constexpr std::array<std::string_view, 30> kTemplateNames = {
    "template",         "Header",          "Vector",           "Coords2d",
    "Quaternion",       "Matrix4x4",       "ColorRGBA",        "ColorRGB",
    "IndexedColor",     "Boolean",         "Boolean2d",        "Material",
    "TextureFilename",  "MeshFace",        "MeshFaceWraps",    "MeshTextureCoords",
    "MeshNormals",      "MeshVertexColors", "MeshMaterialList", "Mesh",
    "FrameTransformMatrix", "Frame",       "FloatKeys",        "TimedFloatKeys",
    "AnimationKey",     "AnimationOptions", "Animation",       "AnimationSet",
    "SkinWeights",      "XSkinMeshHeader",
};

// Besides the balance of the file, refuses a "}" with no open block and more
// open blocks than the stack holds: the walk relies on both.
bool BracesNest(const std::vector<BraceLine>& braceLines)
{
    std::int32_t depth = 0;
    for (const BraceLine& braces : braceLines) {
        if (braces.opens && ++depth > Model::kMaxBlockDepth) return false;
        if (braces.closes && --depth < 0) return false;
    }
    return depth == 0;
}

HRESULT RefuseBraces()
{
    platform::ShowMessage("Erreur de chargement, les bloques {} ne sont pas valide.", "Erreur",
                          platform::MessageKind::Warning);
    return E_FAIL;
}

// The name inside a reference line such as "{ Red }".
std::string_view ReferenceName(std::string_view line)
{
    std::string_view inside = CutThrough(line, '{');
    return TrimBlanks(inside.substr(0, inside.find('}')));
}

}  // namespace

HRESULT Model::CheckHeader()
{
    bool accepted = false;
    if (!lines.empty()) {
        const Words words = SplitWords(Line(0));
        accepted = words.count >= 3 && EqualsIgnoringCase(words[0], "xof") && words[1].size() >= 7 &&
                   EqualsIgnoringCase(words[1].substr(4, 3), "txt");
        if (accepted) {
            Scan(words[1].substr(0, 2), "%d", versionMajor);
            Scan(words[1].substr(2, 2), "%d", versionMinor);
            formatType = "txt";
            Scan(words[2], "%d", floatSize);
        }
    }
    if (accepted) return S_OK;
    platform::ShowMessage("Ce faichier n'est pas un fichier DirectX .X txt", "Erreur", platform::MessageKind::Warning);
    return E_FAIL;
}

HRESULT Model::CheckBraces()
{
    blockDepth = 0;
    return BracesNest(FindLineMarks(*this).braceLines) ? S_OK : RefuseBraces();
}

std::int32_t Model::CountObjects(std::string_view word, std::string_view stopWord) const
{
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < lineCount(); ++i) {
        const std::string_view line = reading::LineAt(*this, i);
        if (FirstWordIs(line, word)) ++count;
        if (!stopWord.empty() && FirstWordIs(line, stopWord)) break;
    }
    return count;
}

HRESULT Model::DispatchObject(std::string_view word, std::int32_t line)
{
    if (EqualsIgnoringCase(word, "Header")) return ReadHeader(line);
    if (EqualsIgnoringCase(word, "Mesh")) return ReadMesh(line);
    if (EqualsIgnoringCase(word, "MeshMaterialList")) return ReadMeshMaterialList(line);
    if (EqualsIgnoringCase(word, "Material")) return ReadMaterial(line);
    if (EqualsIgnoringCase(word, "TextureFilename")) return ReadTextureFilename(line);
    if (EqualsIgnoringCase(word, "MeshTextureCoords")) return ReadMeshTextureCoords(line);
    if (EqualsIgnoringCase(word, "MeshNormals")) return S_OK;  // normals are always computed
    platform::Trace("ID non-reconnu : ");
    platform::Trace(word);
    platform::Trace("\n");
    return S_OK;
}

HRESULT Model::Parse()
{
    if (CheckHeader() != S_OK) return E_FAIL;
    // The brace lines serve both the brace check of CheckBraces and the walk;
    // the same pass gives both counts of CountObjects ("Mesh"; "Material" up
    // to the first "Mesh").
    const LineMarks marks = FindLineMarks(*this);
    const std::vector<BraceLine>& braceLines = marks.braceLines;
    blockDepth = 0;
    if (!BracesNest(braceLines)) return RefuseBraces();

    meshCount = marks.meshLines;
    sharedMaterialCount = marks.materialLinesBeforeMesh;
    std::vector<MeshRecord>().swap(meshes);
    meshes.resize(static_cast<std::size_t>(meshCount));
    std::vector<MaterialRecord>().swap(sharedMaterials);
    sharedMaterials.resize(static_cast<std::size_t>(sharedMaterialCount));
    sharedMaterialsRead = 0;
    materialCursor = 0;
    currentMesh.Release();

    // Lines without braces open and close nothing: only brace lines are walked.
    blockDepth = 0;
    std::size_t nextMesh = 0;
    for (const BraceLine& braces : braceLines) {
        const std::int32_t i = braces.line;
        const std::string_view line = reading::LineAt(*this, i);
        if (braces.opens) {
            // A line that begins with "{" is named by the line above it.
            const Words words = SplitWords(line.front() == '{' && i > 0 ? reading::LineAt(*this, i - 1) : line);
            const std::string_view name = words[0];
            platform::Trace(name);
            platform::Trace("\n");

            bool known = false;
            for (const std::string_view templateName : kTemplateNames) {
                if (!EqualsIgnoringCase(name, templateName)) continue;
                known = true;
                if (DispatchObject(templateName, i) != S_OK) return E_FAIL;
                break;
            }
            if (!known && braces.closes && blockDepth > 0 &&
                EqualsIgnoringCase(blockStack[static_cast<std::size_t>(blockDepth - 1)], "MeshMaterialList"))
                ResolveMaterialReference(ReferenceName(line));

            if (blockDepth >= kMaxBlockDepth) return RefuseBraces();
            blockStack[static_cast<std::size_t>(blockDepth++)] = name;
        }
        if (braces.closes) {
            if (blockDepth <= 0) return RefuseBraces();
            if (EqualsIgnoringCase(blockStack[static_cast<std::size_t>(blockDepth - 1)], "Mesh")) {
                // More mesh blocks than lines counted: the table grows.
                if (nextMesh >= meshes.size()) {
                    meshes.emplace_back();
                    meshCount = static_cast<std::int32_t>(meshes.size());
                }
                meshes[nextMesh++].TakeFrom(currentMesh);
            }
            --blockDepth;
        }
    }
    return S_OK;
}

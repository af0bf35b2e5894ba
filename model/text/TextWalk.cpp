// The walk over the significant lines: header and brace checks, table sizing,
// the stack of open blocks and the hand-over of each known data object.
#include "model/Model.h"

#include "model/LineMarks.h"
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

// For each brace line, the last line of the block it opens (itself when it
// also closes it), matched the way the walk pushes and pops.
std::vector<std::int32_t> BlockEnds(const std::vector<BraceLine>& braceLines)
{
    std::vector<std::int32_t> ends(braceLines.size(), -1);
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < braceLines.size(); ++k) {
        if (braceLines[k].opens) open.push_back(k);
        if (braceLines[k].closes && !open.empty()) {
            ends[open.back()] = braceLines[k].line;
            open.pop_back();
        }
    }
    return ends;
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
        accepted = words.count >= 3 && platform::EqualIgnoringAsciiCase(words[0], "xof") && words[1].size() >= 7 &&
                   platform::EqualIgnoringAsciiCase(words[1].substr(4, 3), "txt");
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
    if (platform::EqualIgnoringAsciiCase(word, "Header")) return ReadHeader(line);
    if (platform::EqualIgnoringAsciiCase(word, "Mesh")) return ReadMesh(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshMaterialList")) return ReadMeshMaterialList(line);
    if (platform::EqualIgnoringAsciiCase(word, "Material")) return ReadMaterial(line);
    if (platform::EqualIgnoringAsciiCase(word, "TextureFilename")) return ReadTextureFilename(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshTextureCoords")) return ReadMeshTextureCoords(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshNormals")) return S_OK;  // normals are always computed
    platform::Trace("ID non-reconnu : ");
    platform::Trace(word);
    platform::Trace("\n");
    return S_OK;
}

HRESULT Model::Parse()
{
    if (CheckHeader() != S_OK) return E_FAIL;
    return ParseMarkedLines(*this, FindLineMarks(*this));
}

// The brace lines serve both the brace check of CheckBraces and the walk; the
// marks also hold both counts of CountObjects ("Mesh"; "Material" up to the
// first "Mesh").
HRESULT ParseMarkedLines(Model& model, const LineMarks& marks)
{
    model.blockDepth = 0;
    if (!BracesNest(marks.braceLines)) return RefuseBraces();

    // The tables grow as their objects are read: a count of lines naming
    // them costs nothing when no block follows.
    std::vector<MeshRecord>().swap(model.meshes);
    std::vector<MaterialRecord>().swap(model.sharedMaterials);
    model.sharedMaterialsByName.clear();
    model.meshCount = 0;
    model.sharedMaterialCount = 0;
    model.sharedMaterialsRead = 0;
    model.materialCursor = 0;
    model.currentMesh.Release();
    const std::vector<std::int32_t> blockEnds = BlockEnds(marks.braceLines);

    // Lines without braces open and close nothing: only brace lines are walked.
    auto& stack = model.blockStack;
    std::int32_t& depth = model.blockDepth;
    for (std::size_t k = 0; k < marks.braceLines.size(); ++k) {
        const BraceLine& braces = marks.braceLines[k];
        const std::int32_t i = braces.line;
        model.objectBlockEnd = blockEnds[k];
        const std::string_view line = reading::LineAt(model, i);
        if (braces.opens) {
            // A line that begins with "{" is named by the line above it.
            const Words words = SplitWords(line.front() == '{' && i > 0 ? reading::LineAt(model, i - 1) : line);
            const std::string_view name = words[0];
            platform::Trace(name);
            platform::Trace("\n");

            bool known = false;
            for (const std::string_view templateName : kTemplateNames) {
                if (!platform::EqualIgnoringAsciiCase(name, templateName)) continue;
                known = true;
                if (model.DispatchObject(templateName, i) != S_OK) return E_FAIL;
                break;
            }
            if (!known && braces.closes && depth > 0 &&
                platform::EqualIgnoringAsciiCase(stack[static_cast<std::size_t>(depth - 1)], "MeshMaterialList"))
                model.ResolveMaterialReference(ReferenceName(line));

            if (depth >= Model::kMaxBlockDepth) return RefuseBraces();
            stack[static_cast<std::size_t>(depth++)] = name;
        }
        if (braces.closes) {
            if (depth <= 0) return RefuseBraces();
            if (platform::EqualIgnoringAsciiCase(stack[static_cast<std::size_t>(depth - 1)], "Mesh")) {
                model.meshes.emplace_back().TakeFrom(model.currentMesh);
                model.meshCount = static_cast<std::int32_t>(model.meshes.size());
            }
            --depth;
        }
    }
    return S_OK;
}

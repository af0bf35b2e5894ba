// The walk over the significant lines: header and brace checks, the stack of
// open blocks and the hand-over of each known data object.
#include "model/text/TextWalk.h"

#include "model/objects/AnimationRules.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "platform/Messages.h"

#include <algorithm>
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

HRESULT RefuseBraces(const TextReader& reader)
{
    reader.Refuse("Erreur de chargement, les bloques {} ne sont pas valide.");
    return E_FAIL;
}

void TraceUnread(std::string_view word)
{
    platform::Trace("ID non-reconnu : ");
    platform::Trace(word);
    platform::Trace("\n");
}

}  // namespace

TextReader::TextReader(Model& model, std::string_view text, SplitText split)
    : model_(model), text_(text), lines_(std::move(split.lines)), braceLines_(std::move(split.braceLines))
{
}

void TextReader::Refuse(std::string text) const
{
    refusalMessages_.push_back({std::move(text), "Erreur", platform::MessageKind::Warning});
}

LoadError TextReader::TakeRefusal() { return LoadErrorOf(refusalKind_, std::move(refusalMessages_)); }

std::int32_t TextReader::FileLineNumber(std::int32_t line) const
{
    const std::size_t end = lines_[static_cast<std::size_t>(line)].begin;
    return 1 + static_cast<std::int32_t>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

bool TextReader::CountFits(std::int32_t count, std::int32_t first) const
{
    // Objects that claim more than their block cannot overlap one another, so
    // reading every object costs no more than the lines of the file.
    const std::int64_t end = objectBlockEnd_ >= 0 ? std::int64_t{objectBlockEnd_} + 1 : lineCount();
    const std::int64_t remaining = std::min<std::int64_t>(end, lineCount()) - first;
    return count >= 0 && count <= std::max<std::int64_t>(remaining, 0);
}

bool TextReader::IsOpenBlock(std::int32_t fromInnermost, std::string_view word) const
{
    const auto index = static_cast<std::int64_t>(blockStack_.size()) - 1 - fromInnermost;
    return index >= 0 && platform::EqualIgnoringAsciiCase(blockStack_[static_cast<std::size_t>(index)], word);
}

HRESULT TextReader::CheckHeader()
{
    // Any spacing and case pass as long as the words do.
    TextHeaderWords words{model_.versionMajor, model_.versionMinor, model_.floatSize, {}};
    const bool accepted = lineCount() > 0 && ReadTextHeaderWords(Line(0), words);
    if (accepted) {
        model_.versionMajor = words.versionMajor;
        model_.versionMinor = words.versionMinor;
        model_.formatType = "txt";
        model_.floatSize = words.floatSize;
    }
    if (accepted) return S_OK;
    refusalKind_ = LoadErrorKind::NotAModel;
    Refuse("Ce faichier n'est pas un fichier DirectX .X txt");
    return E_FAIL;
}

// Besides the balance of the file, refuses a "}" with no open block and more
// open blocks than the stack holds: the walk relies on both.
HRESULT TextReader::CheckBraces() const
{
    std::int32_t depth = 0;
    for (const BraceLine& braces : braceLines_) {
        if (braces.opens && ++depth > kMaxBlockDepth) return RefuseBraces(*this);
        if (braces.closes && --depth < 0) return RefuseBraces(*this);
    }
    return depth == 0 ? S_OK : RefuseBraces(*this);
}

HRESULT TextReader::DispatchObject(std::string_view word, std::int32_t line)
{
    if (platform::EqualIgnoringAsciiCase(word, "Header")) return ReadHeader(line);
    if (platform::EqualIgnoringAsciiCase(word, "Mesh")) return ReadMesh(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshMaterialList")) return ReadMeshMaterialList(line);
    if (platform::EqualIgnoringAsciiCase(word, "Material")) return ReadMaterial(line);
    if (platform::EqualIgnoringAsciiCase(word, "TextureFilename")) return ReadTextureFilename(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshTextureCoords")) return ReadMeshTextureCoords(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshNormals")) {
        ReadMeshNormals(line);  // drawn only as authored; never a cause to refuse a file
        return S_OK;
    }
    // Read beside the data the viewer has always read, and traced as before.
    if (platform::EqualIgnoringAsciiCase(word, "Frame")) OpenFrame(line);
    if (platform::EqualIgnoringAsciiCase(word, "FrameTransformMatrix")) ReadFrameTransformMatrix(line);
    if (platform::EqualIgnoringAsciiCase(word, "SkinWeights")) ReadSkinWeights(line);
    if (platform::EqualIgnoringAsciiCase(word, "MeshVertexColors")) ReadMeshVertexColors(line);
    if (platform::EqualIgnoringAsciiCase(word, "AnimationSet")) OpenAnimationSet(line);
    if (platform::EqualIgnoringAsciiCase(word, "Animation")) OpenAnimation(line);
    if (platform::EqualIgnoringAsciiCase(word, "AnimationKey")) ReadAnimationKey(line);
    if (platform::EqualIgnoringAsciiCase(word, "AnimationOptions")) ReadAnimationOptions(line);
    TraceUnread(word);
    return S_OK;
}

void TextReader::StoreCurrentMesh()
{
    MeshRecord& stored = storedMeshes_.emplace_back(std::move(currentMesh_));
    currentMesh_ = MeshRecord{};
    stored.CompleteMaterialList();
}

HRESULT TextReader::Parse()
{
    if (CheckHeader() != S_OK) return E_FAIL;
    if (CheckBraces() != S_OK) return E_FAIL;
    const std::vector<std::int32_t> blockEnds = BlockEnds(braceLines_);
    blockStack_.reserve(kMaxBlockDepth);

    // Lines without braces open and close nothing: only brace lines are walked.
    for (std::size_t k = 0; k < braceLines_.size(); ++k) {
        const BraceLine& braces = braceLines_[k];
        const std::int32_t i = braces.line;
        const std::string_view line = Line(i);
        objectBlockEnd_ = blockEnds[k];
        objectDataEnd_ = braces.closes || k + 1 == braceLines_.size() ? i : braceLines_[k + 1].line;
        if (braces.opens) {
            // A line that begins with "{" is named by the line above it.
            const Words words = SplitWords(line.front() == '{' && i > 0 ? Line(i - 1) : line);
            const std::string_view name = words[0];
            platform::Trace(name);
            platform::Trace("\n");

            // A reference in an animation is traced as the quirk names it,
            // and opens nothing.
            const bool reference = braces.closes && IsAnimationReference(line);
            bool known = false;
            for (const std::string_view templateName : kTemplateNames) {
                if (!platform::EqualIgnoringAsciiCase(name, templateName)) continue;
                known = true;
                if (reference)
                    TraceUnread(templateName);
                else if (DispatchObject(templateName, i) != S_OK)
                    return E_FAIL;
                break;
            }
            if (reference)
                TakeFrameReference(line);
            else if (!known && platform::EqualIgnoringAsciiCase(name, "AnimTicksPerSecond"))
                ReadAnimTicksPerSecond(i);
            if (!known && braces.closes && IsOpenBlock(0, "MeshMaterialList"))
                ResolveMaterialReference(ReferenceName(line));
            blockStack_.push_back(reference ? SplitWords(line)[0] : name);
        }
        if (braces.closes) {
            if (IsOpenBlock(0, "Mesh")) StoreCurrentMesh();
            if (IsOpenBlock(0, "Frame") && !openFrames_.empty()) openFrames_.pop_back();
            CloseAnimationBlocks();
            blockStack_.pop_back();
        }
    }
    model_.meshes.reserve(storedMeshes_.size());
    for (MeshRecord& mesh : storedMeshes_) model_.meshes.push_back(std::move(mesh));
    animation_rules::ResolveFrames(model_);
    return S_OK;
}

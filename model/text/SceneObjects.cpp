// Where the objects that place meshes in the scene find their values:
// "Frame" blocks, their "FrameTransformMatrix" and the "SkinWeights" of a
// mesh. Their numbers may stand anywhere in their block (one to a line,
// four, sixteen), so they are read as a run of numbers up to the block's
// end; what they mean is model/objects/SceneRules.h.
#include "model/objects/SceneRules.h"
#include "model/text/BlockNumbers.h"
#include "model/text/ScanFormat.h"
#include "model/text/TextHelpers.h"
#include "model/text/TextWalk.h"

#include <optional>

namespace {

// Separators between the numbers of a run.
bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

std::string_view TextReader::NamingLine(std::int32_t line) const
{
    return Line(line).front() == '{' && line > 0 ? Line(line - 1) : Line(line);
}

template <class Add>
void TextReader::ForEachNumber(std::int32_t first, std::size_t from, std::int32_t last,
                               std::string_view* leadingString, Add&& add) const
{
    bool none = true;
    last = std::min(last, lineCount() - 1);
    LineCursor lines = LinesFrom(first);
    for (std::int32_t k = first; k <= last; ++k) {
        std::string_view rest = lines.Next();
        if (k == first) rest.remove_prefix(std::min(from, rest.size()));
        if (leadingString && none && leadingString->empty()) {
            const std::size_t open = rest.find('"');
            if (open != std::string_view::npos) {
                const std::size_t close = rest.find('"', open + 1);
                if (close != std::string_view::npos) {
                    *leadingString = rest.substr(open + 1, close - open - 1);
                    rest = rest.substr(close + 1);
                }
            }
        }
        while (true) {
            while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
            const std::string_view field = rest;
            float value = 0;
            if (rest.empty() || !ScanFloatField(rest, value)) break;
            add(value, field.substr(0, field.size() - rest.size()));
            none = false;
        }
    }
}

BlockNumbers TextReader::NumberRunOfBlock(std::int32_t line, std::string_view* leadingString) const
{
    BlockNumbers numbers;
    ForEachNumber(line + 1, 0, objectBlockEnd_, leadingString,
                  [&](float value, std::string_view field) { numbers.Add(value, field); });
    return numbers;
}

std::vector<float> TextReader::NumbersOfLines(std::int32_t first, std::size_t from, std::int32_t last) const
{
    std::vector<float> numbers;
    ForEachNumber(first, from, last, nullptr, [&](float value, std::string_view) { numbers.push_back(value); });
    return numbers;
}

void TextReader::OpenFrame(std::int32_t line)
{
    objects::OpenFrame(model_, openFrames_, ObjectName(NamingLine(line)));
}

void TextReader::ReadFrameTransformMatrix(std::int32_t line)
{
    if (!IsOpenBlock(0, "Frame") || openFrames_.empty()) return;
    BlockNumbers numbers = NumberRunOfBlock(line, nullptr);
    // Not whole: the frame keeps no matrix.
    if (const std::optional<Matrix4> matrix = objects::ReadMatrix(numbers))
        model_.frames[static_cast<std::size_t>(openFrames_.back())].transform = *matrix;
}

void TextReader::ReadSkinWeights(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    std::string_view bone;
    BlockNumbers numbers = NumberRunOfBlock(line, &bone);
    if (std::optional<SkinWeightsRecord> skin = objects::ReadSkinWeights(numbers, bone))
        currentMesh_.skinWeights.push_back(std::move(*skin));
}

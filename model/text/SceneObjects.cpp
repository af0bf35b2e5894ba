// Readers of the objects that place meshes in the scene: "Frame" blocks,
// their "FrameTransformMatrix" and the "SkinWeights" of a mesh. Their
// numbers may stand anywhere in their block (one to a line, four, sixteen),
// so they are read as a run of numbers up to the block's end. Whatever cannot
// be read whole is left out: these objects never make a file fail to load.
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

std::vector<float> TextReader::NumbersOfBlock(std::int32_t line, std::string_view* leadingString) const
{
    return NumbersOfLines(line + 1, 0, objectBlockEnd_, leadingString);
}

std::vector<float> TextReader::NumbersOfLines(std::int32_t first, std::size_t from, std::int32_t last,
                                              std::string_view* leadingString) const
{
    std::vector<float> numbers;
    last = std::min(last, lineCount() - 1);
    LineCursor lines = LinesFrom(first);
    for (std::int32_t k = first; k <= last; ++k) {
        std::string_view rest = lines.Next();
        if (k == first) rest.remove_prefix(std::min(from, rest.size()));
        if (leadingString && numbers.empty() && leadingString->empty()) {
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
            float value = 0;
            if (rest.empty() || !ScanFloatField(rest, value)) break;
            numbers.push_back(value);
        }
    }
    return numbers;
}

void TextReader::OpenFrame(std::int32_t line)
{
    FrameRecord frame;
    frame.name = LimitName(ObjectName(NamingLine(line)));
    frame.parent = openFrames_.empty() ? -1 : openFrames_.back();
    openFrames_.push_back(static_cast<std::int32_t>(model_.frames.size()));
    model_.frames.push_back(std::move(frame));
}

void TextReader::ReadFrameTransformMatrix(std::int32_t line)
{
    if (!IsOpenBlock(0, "Frame") || openFrames_.empty()) return;
    const std::vector<float> numbers = NumbersOfBlock(line, nullptr);
    if (numbers.size() < 16) return;  // not whole: the frame keeps no matrix
    Matrix4 matrix;
    std::copy(numbers.begin(), numbers.begin() + 16, matrix.m.begin());
    model_.frames[static_cast<std::size_t>(openFrames_.back())].transform = matrix;
}

void TextReader::ReadSkinWeights(std::int32_t line)
{
    if (!IsOpenBlock(0, "Mesh")) return;
    std::string_view bone;
    const std::vector<float> numbers = NumbersOfBlock(line, &bone);
    if (bone.empty() || numbers.empty()) return;
    const float declared = numbers[0];
    // The count, its indices and weights, then the 16 numbers of the offset matrix.
    if (!(declared >= 0) || declared > static_cast<float>((numbers.size() - 1) / 2)) return;
    const auto count = static_cast<std::size_t>(declared);
    if (numbers.size() < 1 + 2 * count + 16) return;
    SkinWeightsRecord skin;
    skin.boneName = std::string(bone);
    skin.vertexIndices.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const float index = numbers[1 + k];
        if (!(index >= 0) || index > 2147483647.0f) return;
        skin.vertexIndices.push_back(static_cast<std::int32_t>(index));
    }
    skin.weights.assign(numbers.begin() + 1 + static_cast<std::ptrdiff_t>(count),
                        numbers.begin() + 1 + static_cast<std::ptrdiff_t>(2 * count));
    std::copy(numbers.begin() + 1 + static_cast<std::ptrdiff_t>(2 * count),
              numbers.begin() + 1 + static_cast<std::ptrdiff_t>(2 * count) + 16, skin.offset.m.begin());
    currentMesh_.skinWeights.push_back(std::move(skin));
}

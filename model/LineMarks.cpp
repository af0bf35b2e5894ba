#include "model/LineMarks.h"

#include "model/ByteSearch.h"
#include "model/TextHelpers.h"

#include <algorithm>

namespace {

// The first line at or after `from` that ends after `offset`, searched in
// growing steps so that both near and far lines are found quickly.
std::size_t LineEndingAfter(const std::vector<Model::LineSpan>& lines, std::size_t from, std::size_t offset)
{
    auto endsAfter = [&](std::size_t line) { return std::size_t{lines[line].begin} + lines[line].length > offset; };
    std::size_t step = 1;
    std::size_t low = from;
    while (low + step < lines.size() && !endsAfter(low + step)) {
        low += step;
        step *= 2;
    }
    if (endsAfter(low)) return low;
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(low);
    const auto last = lines.begin() + static_cast<std::ptrdiff_t>(std::min(low + step + 1, lines.size()));
    return static_cast<std::size_t>(std::partition_point(first, last, [&](const Model::LineSpan& span) {
                                        return std::size_t{span.begin} + span.length <= offset;
                                    }) - lines.begin());
}

}  // namespace

void NoteMarks(LineMarks& marks, std::int32_t index, std::string_view line, bool opens, bool closes)
{
    if (opens || closes) marks.braceLines.push_back({index, opens, closes});
    if ((line[0] | 0x20) != 'm') return;
    if (FirstWordIs(line, "Mesh"))
        ++marks.meshLines;
    else if (marks.meshLines == 0 && FirstWordIs(line, "Material"))
        ++marks.materialLinesBeforeMesh;
}

LineMarks FindLineMarks(const Model& model)
{
    LineMarks marks;
    const auto& lines = model.lines;
    const char* const text = model.text.data();
    std::size_t line = 0;
    byte_search::ForEachMark(text, text + model.text.size(), '{', '}', 'm', [&](const char* at) {
        const std::size_t offset = static_cast<std::size_t>(at - text);
        if (line >= lines.size()) return;
        line = LineEndingAfter(lines, line, offset);
        if (line >= lines.size() || lines[line].begin > offset) return;  // in a comment or blank part
        const auto index = static_cast<std::int32_t>(line);
        if (*at != '{' && *at != '}') {
            // Lines are trimmed: a first word begins at the line's first character.
            if (lines[line].begin != offset) return;
            const std::string_view words(at, lines[line].length);
            if (FirstWordIs(words, "Mesh"))
                ++marks.meshLines;
            else if (marks.meshLines == 0 && FirstWordIs(words, "Material"))
                ++marks.materialLinesBeforeMesh;
            return;
        }
        auto& found = marks.braceLines;
        if (found.empty() || found.back().line != index) found.push_back({index, false, false});
        (*at == '{' ? found.back().opens : found.back().closes) = true;
    });
    return marks;
}

#include "model/text/SignificantLines.h"

#include "model/text/ByteSearch.h"
#include "platform/ParallelFor.h"

#include <algorithm>
#include <cstring>

inline void LineSplitter::AddLine(const char* start, const char* stop)
{
    const bool opens = lineOpens_, closes = lineCloses_;
    lineOpens_ = lineCloses_ = false;
    if (stop > start && stop[-1] == '\r') --stop;
    while (start < stop && (*start == ' ' || *start == '\t')) ++start;
    while (stop > start && (stop[-1] == ' ' || stop[-1] == '\t')) --stop;
    if (stop == start || *start == '#' || (stop - start >= 2 && start[0] == '/' && start[1] == '/')) return;
    const auto index = static_cast<std::int32_t>(split_.lines.size());
    if (opens || closes) split_.braceLines.push_back({index, opens, closes});
    split_.lines.push_back({static_cast<std::uint32_t>(start - text_), static_cast<std::uint32_t>(stop - start)});
}

void LineSplitter::Feed(const char* pieceBegin, const char* pieceEnd)
{
    byte_search::ForEachOfThree(pieceBegin, pieceEnd, '\n', '{', '}', [this](const char* at) __attribute__((always_inline)) {
        if (*at == '\n') {
            AddLine(lineStart_, at);
            lineStart_ = at + 1;
        } else if (*at == '{') {
            lineOpens_ = true;
        } else {
            lineCloses_ = true;
        }
    });
}

SplitText LineSplitter::Finish(const char* textEnd)
{
    if (lineStart_ < textEnd) AddLine(lineStart_, textEnd);
    return std::move(split_);
}

namespace {

SplitText SplitRange(const char* text, const char* begin, const char* end, bool countLinesFirst)
{
    LineSplitter splitter(text);
    // Sized once, never copied while it grows; a part of a large text spares
    // the pass: room for lines of 16 bytes on average, capacity never written
    // taking no memory.
    const auto bytes = static_cast<std::size_t>(end - begin);
    splitter.Reserve(countLinesFirst ? byte_search::Count(begin, end, '\n') + 1 : bytes / 16 + 16);
    splitter.SetLineStart(begin);
    splitter.Feed(begin, end);
    return splitter.Finish(end);
}

}  // namespace

const char* AfterLineFeed(const char* at, const char* end)
{
    const void* lineFeed = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
    return lineFeed == nullptr ? end : static_cast<const char*>(lineFeed) + 1;
}

SplitText JoinSplitParts(std::vector<SplitText>& parts)
{
    std::vector<std::size_t> firstLines(parts.size() + 1, 0);
    std::size_t braceLines = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        firstLines[k + 1] = firstLines[k] + parts[k].lines.size();
        braceLines += parts[k].braceLines.size();
    }
    SplitText joined;
    joined.lines.resize(firstLines.back());
    joined.braceLines.reserve(braceLines);
    for (std::size_t k = 0; k < parts.size(); ++k)
        for (BraceLine brace : parts[k].braceLines) {
            brace.line += static_cast<std::int32_t>(firstLines[k]);
            joined.braceLines.push_back(brace);
        }
    platform::ParallelFor(parts.size(), 1, [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            std::copy(parts[k].lines.begin(), parts[k].lines.end(), joined.lines.begin() + static_cast<std::ptrdiff_t>(firstLines[k]));
            parts[k] = SplitText{};
        }
    });
    return joined;
}

SplitText SplitSignificantLines(std::string_view text)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const std::size_t partCount = platform::ChunkCount(text.size(), kBytesPerSplitPart);
    if (partCount < 2) return SplitRange(begin, begin, end, true);
    std::vector<SplitText> parts(partCount);
    platform::ParallelFor(text.size(), kBytesPerSplitPart, [&](std::size_t part, std::size_t from, std::size_t to) {
        const char* const first = part == 0 ? begin : AfterLineFeed(begin + from, end);
        parts[part] = SplitRange(begin, first, AfterLineFeed(begin + to, end), false);
    });
    return JoinSplitParts(parts);
}

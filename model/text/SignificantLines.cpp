#include "model/text/SignificantLines.h"

#include "model/text/ByteSearch.h"

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

SplitText SplitSignificantLines(std::string_view text)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    LineSplitter splitter(begin);
    splitter.Reserve(byte_search::Count(begin, end, '\n') + 1);  // sized once: never copied while it grows
    splitter.Feed(begin, end);
    return splitter.Finish(end);
}

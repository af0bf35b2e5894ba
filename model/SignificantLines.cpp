#include "model/SignificantLines.h"

#include "model/ByteSearch.h"

inline void LineSplitter::AddLine(const char* start, const char* stop)
{
    if (stop > start && stop[-1] == '\r') --stop;
    while (start < stop && (*start == ' ' || *start == '\t')) ++start;
    while (stop > start && (stop[-1] == ' ' || stop[-1] == '\t')) --stop;
    if (stop == start || *start == '#' || (stop - start >= 2 && start[0] == '/' && start[1] == '/')) return;
    lines_.push_back({static_cast<std::uint32_t>(start - text_), static_cast<std::uint32_t>(stop - start)});
}

void LineSplitter::Feed(const char* pieceBegin, const char* pieceEnd)
{
    byte_search::ForEach(pieceBegin, pieceEnd, '\n', [this](const char* lineFeed) __attribute__((always_inline)) {
        AddLine(lineStart_, lineFeed);
        lineStart_ = lineFeed + 1;
    });
}

std::vector<Model::LineSpan> LineSplitter::Finish(const char* textEnd)
{
    if (lineStart_ < textEnd) AddLine(lineStart_, textEnd);
    return std::move(lines_);
}

std::vector<Model::LineSpan> FindSignificantLines(std::string_view text)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    LineSplitter splitter(begin);
    splitter.Reserve(byte_search::Count(begin, end, '\n') + 1);  // sized once: never copied while it grows
    splitter.Feed(begin, end);
    return splitter.Finish(end);
}

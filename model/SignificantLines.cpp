#include "model/SignificantLines.h"

#include "model/TextHelpers.h"

#include <cstring>

namespace {

const char* NextLineFeed(const char* from, const char* end)
{
    return static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
}

bool IsSignificant(std::string_view line)
{
    if (line.empty() || line[0] == '#') return false;
    return !(line.size() >= 2 && line[0] == '/' && line[1] == '/');
}

}  // namespace

std::vector<Model::LineSpan> FindSignificantLines(std::string_view text)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();

    std::size_t lineFeeds = 0;
    for (const char* at = begin; at != end && (at = NextLineFeed(at, end)) != nullptr; ++at) ++lineFeeds;
    std::vector<Model::LineSpan> lines;
    lines.reserve(lineFeeds + 1);

    for (const char* start = begin; start < end;) {
        const char* lineFeed = NextLineFeed(start, end);
        const char* const stop = lineFeed ? lineFeed : end;
        std::string_view line(start, static_cast<std::size_t>(stop - start));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = TrimBlanks(line);
        if (IsSignificant(line))
            lines.push_back({static_cast<std::uint32_t>(line.data() - begin), static_cast<std::uint32_t>(line.size())});
        start = stop + 1;
    }
    return lines;
}

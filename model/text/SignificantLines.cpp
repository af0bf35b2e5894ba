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
    const auto index = static_cast<std::int32_t>(lines_.size());
    if (opens || closes) braceLines_.push_back({index, opens, closes});
    lines_.push_back({static_cast<std::uint32_t>(start - text_), static_cast<std::uint32_t>(stop - start)});
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
    // The room past the last line is kept. Giving back the unused end of the
    // last huge page written would split it into ordinary pages, and on a
    // virtual machine the first reads of those pages afterwards cost dear: on
    // two cores they made the first pass over each long list half as slow
    // again, for some ten megabytes saved on a 100 MB file.
    return {LineTable(std::move(lines_)), std::move(braceLines_)};
}

LineTable::LineTable(Part lines)
{
    if (!lines.empty()) parts_.push_back(std::move(lines));
    Index();
}

LineTable LineTable::Joined(std::vector<LineTable>& tables)
{
    LineTable joined;
    for (LineTable& table : tables) {
        for (Part& part : table.parts_) joined.parts_.push_back(std::move(part));
        table = LineTable();
    }
    joined.Index();
    return joined;
}

LineTable::Cursor LineTable::From(std::size_t first) const
{
    Cursor cursor;
    cursor.table_ = this;
    cursor.part_ = parts_.size();
    if (first >= size()) return cursor;
    const std::size_t part = PartOf(first);
    cursor.part_ = part;
    cursor.at_ = parts_[part].data() + (first - firsts_[part]);
    cursor.end_ = parts_[part].data() + parts_[part].size();
    return cursor;
}

LineSpan LineTable::Cursor::FirstOfNextPart()
{
    if (part_ + 1 >= table_->parts_.size()) {
        part_ = table_->parts_.size();
        return {0, 0};
    }
    const Part& next = table_->parts_[++part_];
    at_ = next.data() + 1;
    end_ = next.data() + next.size();
    return next.front();
}

void LineTable::Index()
{
    firsts_.assign(1, 0);
    for (const Part& part : parts_) firsts_.push_back(firsts_.back() + part.size());
    partOfSlot_.clear();
    // Slots beyond the last line keep the last part, so a search never runs off the table.
    std::size_t part = 0;
    for (std::size_t slot = 0; (slot << kSlotShift) < size(); ++slot) {
        while ((slot << kSlotShift) >= firsts_[part + 1]) ++part;
        partOfSlot_.push_back(static_cast<std::uint32_t>(part));
    }
}

namespace {

SplitText SplitRange(const char* text, const char* begin, const char* end, bool countLinesFirst)
{
    LineSplitter splitter(text);
    // Sized once, never copied while it grows; a part of a large text spares the pass.
    const auto bytes = static_cast<std::size_t>(end - begin);
    splitter.Reserve(countLinesFirst ? byte_search::Count(begin, end, '\n') + 1 : LinesToReserveForPart(bytes));
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
    SplitText joined;
    std::size_t braceLines = 0;
    for (const SplitText& part : parts) braceLines += part.braceLines.size();
    joined.braceLines.reserve(braceLines);
    std::vector<LineTable> tables;
    tables.reserve(parts.size());
    std::size_t firstLine = 0;
    for (SplitText& part : parts) {
        for (BraceLine brace : part.braceLines) {
            brace.line += static_cast<std::int32_t>(firstLine);
            joined.braceLines.push_back(brace);
        }
        firstLine += part.lines.size();
        tables.push_back(std::move(part.lines));
        part = SplitText{};
    }
    joined.lines = LineTable::Joined(tables);
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

// Finds the lines of a ".x" file that the reader walks: each line without its
// line end ("\n" or "\r\n") and its leading and trailing spaces and tabs;
// blank lines, "#" comments and "//" comments are left out. Texts must be
// shorter than 4 GiB. The lines holding braces, which the walk visits, are
// noted on the way.
#pragma once

#include "platform/LargeBlocks.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Where a significant line stands in the text, once trimmed.
struct LineSpan {
    std::uint32_t begin;
    std::uint32_t length;
};

struct BraceLine {
    std::int32_t line;
    bool opens;   // holds at least one "{"
    bool closes;  // holds at least one "}"
};

// The significant lines of a text, in the parts that the cores found them in
// (one part when one core did): line k of the text is line k - first of the
// part that holds it. Joining the parts into one table would move every
// line once more, tens of megabytes for a large file.
class LineTable {
public:
    // Millions of lines for a large file: a part is written as it grows.
    using Part = platform::LargeVector<LineSpan>;

    LineTable() = default;
    explicit LineTable(Part lines);
    // The tables' lines in table order, the tables emptied on the way.
    static LineTable Joined(std::vector<LineTable>& tables);

    std::size_t size() const { return firsts_.empty() ? 0 : firsts_.back(); }
    LineSpan operator[](std::size_t line) const
    {
        const std::size_t part = PartOf(line);
        return parts_[part][line - firsts_[part]];
    }

    // Lines `first` on, in order, each for a step rather than a search: for
    // the long lists. Past the last line, empty spans.
    class Cursor {
    public:
        LineSpan Next()
        {
            if (at_ == end_) [[unlikely]]
                return FirstOfNextPart();
            return *at_++;
        }

    private:
        friend class LineTable;
        LineSpan FirstOfNextPart();

        const LineTable* table_ = nullptr;
        std::size_t part_ = 0;
        const LineSpan* at_ = nullptr;
        const LineSpan* end_ = nullptr;
    };
    Cursor From(std::size_t first) const;

private:
    // The part of every 4096th line: the search for a line's part starts there.
    static constexpr unsigned kSlotShift = 12;
    void Index();
    // The part holding `line`, one of the table's.
    std::size_t PartOf(std::size_t line) const
    {
        std::size_t part = partOfSlot_[line >> kSlotShift];
        while (line >= firsts_[part + 1]) ++part;  // past the slot's first part: rarely more than once
        return part;
    }

    std::vector<Part> parts_;                // none empty
    std::vector<std::size_t> firsts_;        // each part's first line, then the line count
    std::vector<std::uint32_t> partOfSlot_;  // the part holding line k << kSlotShift
};

struct SplitText {
    LineTable lines;
    std::vector<BraceLine> braceLines;  // in line order
};

// A large text is split in parts on every core: each part takes the lines
// that begin just after a line feed inside it (the first part, the first
// line too), and the parts' tables are kept in order.
SplitText SplitSignificantLines(std::string_view text);

// Texts at least twice this long are split in parts: parts small enough that
// a core slowed down on one holds up the other little at the end, large
// enough that the room each part's table leaves unused in its last huge page
// (up to 2 MiB, a megabyte on average) stays a small share of the text.
inline constexpr std::size_t kBytesPerSplitPart = std::size_t{8} << 20;
// The lines a part of `bytes` bytes makes room for: lines of 8 bytes on
// average, which makes the room of a whole part a block that huge pages back
// (capacity never written takes no memory).
inline std::size_t LinesToReserveForPart(std::size_t bytes) { return bytes / 8 + 16; }

// Just past the first line feed at or after `at`: where the first line of a
// part starting at `at` begins, and where the last line of the part before
// it ends; `end` when no line feed follows.
const char* AfterLineFeed(const char* at, const char* end);
// The parts' lines as one text's, in part order, the parts emptied on the way.
SplitText JoinSplitParts(std::vector<SplitText>& parts);

// The same for a text that arrives piece by piece (while each piece is still
// in cache): Feed each piece once it is in place, then Finish.
class LineSplitter {
public:
    explicit LineSplitter(const char* text) : text_(text), lineStart_(text) {}
    void Reserve(std::size_t lines) { lines_.reserve(lines); }
    // Where the first line begins, when not at the text's start.
    void SetLineStart(const char* start) { lineStart_ = start; }
    void Feed(const char* pieceBegin, const char* pieceEnd);
    // Adds the last line when it has no line feed; `textEnd` ends the text.
    SplitText Finish(const char* textEnd);

private:
    void AddLine(const char* start, const char* stop);

    const char* text_;
    const char* lineStart_;
    bool lineOpens_ = false;   // the line being read holds a "{"
    bool lineCloses_ = false;  // ... a "}"
    LineTable::Part lines_;
    std::vector<BraceLine> braceLines_;
};

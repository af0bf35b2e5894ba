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

// Millions of lines for a large file: a table that is written as it grows.
using LineTable = platform::LargeVector<LineSpan>;

struct SplitText {
    LineTable lines;
    std::vector<BraceLine> braceLines;  // in line order
};

// A large text is split in parts on every core: each part takes the lines
// that begin just after a line feed inside it (the first part, the first
// line too), and the parts' tables are joined in order.
SplitText SplitSignificantLines(std::string_view text);

// Texts at least twice this long are split in parts.
inline constexpr std::size_t kBytesPerSplitPart = std::size_t{8} << 20;

// Just past the first line feed at or after `at`: where the first line of a
// part starting at `at` begins, and where the last line of the part before
// it ends; `end` when no line feed follows.
const char* AfterLineFeed(const char* at, const char* end);
// The parts' tables as one, in part order, the parts emptied on the way.
SplitText JoinSplitParts(std::vector<SplitText>& parts);

// The same for a text that arrives piece by piece (while each piece is still
// in cache): Feed each piece once it is in place, then Finish.
class LineSplitter {
public:
    explicit LineSplitter(const char* text) : text_(text), lineStart_(text) {}
    void Reserve(std::size_t lines) { split_.lines.reserve(lines); }
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
    SplitText split_;
};

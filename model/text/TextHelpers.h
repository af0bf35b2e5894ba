// Text rules of the ".x" reader: words split at the space character only,
// blanks are spaces and tabs, words compare without regard to ASCII case.
// The small ones are inline: they run once or more on every line of a file.
#pragma once

#include "platform/AsciiCase.h"

#include <array>
#include <cstdint>
#include <string_view>

// The first words of a text and the number of all its words. Keeping only a
// few words lets every line be split without allocating.
struct Words {
    static constexpr std::size_t kKept = 4;
    std::array<std::string_view, kKept> kept{};
    std::int32_t count = 0;

    // Word `index`, empty when the text has fewer words (or beyond kKept).
    std::string_view operator[](std::size_t index) const { return index < kKept ? kept[index] : std::string_view{}; }
};

// Splits at spaces; runs of spaces make no empty words; a tab is part of a word.
Words SplitWords(std::string_view text);

// A text file's first line as the text readers accept it: at least three
// words, "xof" and a second word with "txt" at its fifth to seventh
// characters, case ignored ("xof 0302txt 0032"). The version is read from
// the second word's first four characters and the float size from the third
// word; a field that does not scan leaves its value as it was.
struct TextHeaderWords {
    std::int32_t versionMajor = 0;
    std::int32_t versionMinor = 0;
    std::int32_t floatSize = 0;
    std::string_view lastWord;  // the third word, where the header ends
};
bool ReadTextHeaderWords(std::string_view line, TextHeaderWords& header);

// Removes leading and trailing spaces and tabs.
inline std::string_view TrimBlanks(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

// Everything after the first `separator`; the text unchanged when it has none.
std::string_view CutThrough(std::string_view text, char separator);

// Everything after the first "," or ";"; the text unchanged when it has neither.
inline std::string_view CutThroughCommaOrSemicolon(std::string_view text)
{
    for (std::size_t k = 0; k < text.size(); ++k)
        if (text[k] == ',' || text[k] == ';') return text.substr(k + 1);
    return text;
}

inline bool Contains(std::string_view text, char character) { return text.find(character) != std::string_view::npos; }

// The name a "Type Name {" line gives its object (word 1, up to a "{");
// empty when the line has none.
std::string_view ObjectName(std::string_view line);

// The name a "Mesh" or "Material" line gives: word 1 of a line of at least
// three words, unless that word opens the block or a comment ("Mesh { //
// Player"); empty otherwise.
std::string_view NameWord(const Words& words);

// The text inside a reference line such as "{ Red }", trimmed.
std::string_view ReferenceName(std::string_view line);

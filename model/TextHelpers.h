// Text rules of the ".x" reader: words split at the space character only,
// blanks are spaces and tabs, words compare without regard to ASCII case.
#pragma once

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
// Word 0 of a text (what SplitWords would give first), empty when none.
std::string_view FirstWord(std::string_view text);

// Removes leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

// Everything after the first `separator`; the text unchanged when it has none.
std::string_view CutThrough(std::string_view text, char separator);
// Everything after the first character that is one of `separators`.
std::string_view CutThroughFirstOf(std::string_view text, std::string_view separators);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

inline bool Contains(std::string_view text, char character) { return text.find(character) != std::string_view::npos; }

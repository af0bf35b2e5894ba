#include "model/TextHelpers.h"

#include <algorithm>

Words SplitWords(std::string_view text)
{
    Words words;
    std::size_t position = 0;
    while (true) {
        const std::size_t begin = text.find_first_not_of(' ', position);
        if (begin == std::string_view::npos) break;
        std::size_t end = text.find(' ', begin);
        if (end == std::string_view::npos) end = text.size();
        if (static_cast<std::size_t>(words.count) < Words::kKept) words.kept[words.count] = text.substr(begin, end - begin);
        ++words.count;
        position = end;
    }
    return words;
}

std::string_view FirstWord(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    const std::size_t end = text.find(' ', begin);
    return text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end + 1 - begin);
}

std::string_view CutThrough(std::string_view text, char separator)
{
    const std::size_t at = text.find(separator);
    return at == std::string_view::npos ? text : text.substr(at + 1);
}

std::string_view CutThroughFirstOf(std::string_view text, std::string_view separators)
{
    const std::size_t at = text.find_first_of(separators);
    return at == std::string_view::npos ? text : text.substr(at + 1);
}

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

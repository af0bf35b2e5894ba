#include "model/text/TextHelpers.h"

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

// Plain loops: the texts are short lines, where a library search per call
// costs more than the scan.
std::string_view CutThrough(std::string_view text, char separator)
{
    for (std::size_t k = 0; k < text.size(); ++k)
        if (text[k] == separator) return text.substr(k + 1);
    return text;
}

std::string_view ObjectName(std::string_view line)
{
    const Words words = SplitWords(line);
    if (words.count < 2) return {};
    return words[1].substr(0, words[1].find('{'));
}

std::string_view NameWord(const Words& words)
{
    const std::string_view word = words[1];
    if (words.count < 3 || word.starts_with('{') || word.starts_with('#') || word.starts_with("//")) return {};
    return word;
}

std::string_view ReferenceName(std::string_view line)
{
    const std::string_view inside = CutThrough(line, '{');
    return TrimBlanks(inside.substr(0, inside.find('}')));
}

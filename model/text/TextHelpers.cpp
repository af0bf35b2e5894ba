#include "model/text/TextHelpers.h"

#include "model/text/ScanFormat.h"

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

bool ReadTextHeaderWords(std::string_view line, TextHeaderWords& header)
{
    const Words words = SplitWords(line);
    if (words.count < 3 || !platform::EqualIgnoringAsciiCase(words[0], "xof") || words[1].size() < 7 ||
        !platform::EqualIgnoringAsciiCase(words[1].substr(4, 3), "txt"))
        return false;
    Scan(words[1].substr(0, 2), "%d", header.versionMajor);
    Scan(words[1].substr(2, 2), "%d", header.versionMinor);
    Scan(words[2], "%d", header.floatSize);
    header.lastWord = words[2];
    return true;
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

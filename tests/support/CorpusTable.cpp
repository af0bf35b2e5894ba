#include "CorpusTable.h"

#include "TestSupport.h"

#include <fstream>
#include <sstream>

namespace testing_support {

std::vector<std::string> SplitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::vector<CorpusRow> ReadCorpusTable()
{
    std::ifstream in(CorpusPath("EXPECTED.tsv"));
    std::vector<CorpusRow> rows;
    std::string line;
    std::getline(in, line);  // column titles
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        auto fields = SplitAt(line, '\t');
        CorpusRow row;
        row.file = fields.at(0);
        row.status = fields.at(1);
        row.columns.assign(fields.begin() + 2, fields.end());
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace testing_support

// The rows of the corpus's EXPECTED.tsv (tests/corpus/).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

struct CorpusRow {
    std::string file;
    std::string status;                // "loaded" or "refused:<reason>"
    std::vector<std::string> columns;  // meshes, vertices, faces, materials, textured, bbox, detail
};

// Test names show the file alone.
inline void PrintTo(const CorpusRow& row, std::ostream* out) { *out << row.file; }

// Splits at every separator; a trailing separator gives an empty last part.
std::vector<std::string> SplitAt(const std::string& text, char separator);

std::vector<CorpusRow> ReadCorpusTable();

}  // namespace testing_support

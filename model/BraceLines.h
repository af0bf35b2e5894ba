// One pass over a model's text for what the walk needs before it starts:
// the lines holding braces, and the lines whose first word is "Mesh" or
// "Material". Such lines are few: their characters are searched in the whole
// text at once, then placed in their lines.
#pragma once

#include "model/Model.h"

#include <cstdint>
#include <vector>

struct BraceLine {
    std::int32_t line;
    bool opens;   // holds at least one "{"
    bool closes;  // holds at least one "}"
};

struct LineMarks {
    std::vector<BraceLine> braceLines;  // in line order
    std::int32_t meshLines = 0;         // lines whose first word is "Mesh"
    std::int32_t materialLinesBeforeMesh = 0;  // first word "Material", before the first "Mesh" line
};

// Braces outside the significant lines (in comments) are not seen.
LineMarks FindLineMarks(const Model& model);

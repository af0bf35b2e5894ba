// What the walk over a model's lines needs before it starts: the lines
// holding braces, and the numbers of lines whose first word is "Mesh" or
// "Material". The line splitter notes them while it finds the lines;
// FindLineMarks finds them again for lines set any other way.
#pragma once

#include "model/Model.h"

#include <cstdint>
#include <string_view>
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

// Braces outside the significant lines (in comments) are not seen. Such
// lines are few: their characters are searched in the whole text at once,
// then placed in their lines.
LineMarks FindLineMarks(const Model& model);

// Notes line `index` (trimmed, significant) as the splitter sees it.
void NoteMarks(LineMarks& marks, std::int32_t index, std::string_view line, bool opens, bool closes);

// Steps 2 to 6 of Model::Parse (brace check, table sizing, walk) with the
// marks of the model's lines.
HRESULT ParseMarkedLines(Model& model, const LineMarks& marks);

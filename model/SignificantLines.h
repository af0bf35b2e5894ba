// Finds the lines of a ".x" file that the reader walks.
#pragma once

#include "model/Model.h"

#include <string_view>
#include <vector>

// Each line without its line end ("\n" or "\r\n") and its leading and
// trailing spaces and tabs; blank lines, "#" comments and "//" comments are
// left out. `text` must be shorter than 4 GiB.
std::vector<Model::LineSpan> FindSignificantLines(std::string_view text);

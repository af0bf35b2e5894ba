// The "Vue" menu's aids: the skeleton, the grid, the axes and the "Fond"
// radio run, as commands over the view value and as the marks it gives.
#pragma once

#include "render/ViewOptions.h"

#include <optional>
#include <utility>
#include <vector>

// The background a "Fond" item chooses; nothing for another command.
std::optional<Background> BackgroundOfCommand(int id);

// The marks of the aids' items that the value gives.
std::vector<std::pair<int, bool>> ViewAidMarks(const ViewOptions& options);

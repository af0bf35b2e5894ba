// The animation sets of a model as the tools name and list them.
#pragma once

#include "model/Model.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tool_common {

// The set `wanted` names: its number from 1 in file order, or its name (a
// number that names no set is tried as a name too).
std::optional<std::size_t> FindAnimationSet(const Model& model, std::string_view wanted);

// One line per set: its number, its name, its length in seconds and the
// number of frames it moves, tab-separated.
std::string ListAnimations(const Model& model);

}  // namespace tool_common

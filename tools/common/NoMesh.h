// A file that loads but holds no mesh: frames alone, or frames naming meshes
// kept in other files. Nothing of it can be drawn, and the tools say so.
#pragma once

#include "model/Model.h"

#include <string>
#include <string_view>

namespace tool_common {

// Prints "TOOL: no mesh in FILE" on standard error, FILE as given, when the
// loaded model holds no mesh. True when it did.
bool TellWhenNoMesh(std::string_view tool, const Model& model, const std::string& path);

}  // namespace tool_common

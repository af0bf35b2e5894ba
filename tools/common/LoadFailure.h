// Why a tool could not load a model, in words for standard error.
#pragma once

#include <string>

namespace tool_common {

// "no such file", "a folder, not a file", "not readable (Permission denied)"…
// for a path the tool cannot read; for a file it can read, that the file is
// no model it reads (the loader's messages, printed before, say why).
std::string LoadFailureReason(const std::string& path);

}  // namespace tool_common

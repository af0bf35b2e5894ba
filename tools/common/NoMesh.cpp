#include "NoMesh.h"

#include <cstdio>

namespace tool_common {

bool TellWhenNoMesh(std::string_view tool, const Model& model, const std::string& path)
{
    if (model.meshCount() > 0) return false;
    std::fprintf(stderr, "%.*s: no mesh in %s\n", static_cast<int>(tool.size()), tool.data(), path.c_str());
    return true;
}

}  // namespace tool_common

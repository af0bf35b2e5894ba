#include "platform/FileDialogs.h"

namespace platform {

std::string WithDefaultExtension(const std::string& path, const std::string& extension)
{
    const std::size_t nameStart = path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1;
    // A dot that starts the name (".hidden") begins no extension.
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > nameStart && dot + 1 < path.size();
    if (hasExtension || extension.empty() || nameStart == path.size()) return path;
    return path + (path.back() == '.' ? "" : ".") + extension;
}

}  // namespace platform

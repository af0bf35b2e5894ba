#include "texture/TexturePath.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The file itself, or else a file of its folder named the same but for ASCII
// case (the first in name order, so the choice does not depend on the folder's
// listing order).
std::optional<fs::path> FindFile(const fs::path& path)
{
    if (IsFile(path)) return path;
    const std::string wanted = path.filename().string();
    if (wanted.empty()) return std::nullopt;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::optional<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string candidate = entry->path().filename().string();
        if (!platform::EqualIgnoringAsciiCase(candidate, wanted) || !IsFile(entry->path())) continue;
        if (!found || candidate < found->filename().string()) found = path.has_parent_path() ? folder / candidate : fs::path(candidate);
    }
    return found;
}

}  // namespace

std::string ResolveTextureFile(const std::string& name, const std::string& modelFolder)
{
    if (name.empty()) return name;
    if (auto found = FindFile(name)) return found->string();

    std::string slashed = name;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (auto found = FindFile(slashed)) return found->string();

    const fs::path folder = modelFolder.empty() ? fs::path(".") : fs::path(modelFolder);
    if (auto found = FindFile(folder / slashed)) return found->string();

    const std::size_t lastSeparator = slashed.find_last_of('/');
    const std::string baseName = lastSeparator == std::string::npos ? slashed : slashed.substr(lastSeparator + 1);
    if (!baseName.empty())
        if (auto found = FindFile(folder / baseName)) return found->string();
    return name;
}

std::string_view TextureExtension(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? fileName : fileName.substr(dot + 1);
}

#include "model/SourceFile.h"

#include "platform/Messages.h"

#include <sys/stat.h>

std::optional<SourceFile> OpenSourceFile(const std::string& path)
{
    platform::FileHandle handle = platform::OpenRegularFile(path);
    if (!handle) return std::nullopt;
    struct stat status {};
    if (fstat(fileno(handle.get()), &status) != 0) return std::nullopt;
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > kLargestModelFileSize) {
        RefuseLargeModel(path, "Model::ReadFile");
        return std::nullopt;
    }
    return SourceFile{std::move(handle), static_cast<std::size_t>(size)};
}

void RefuseLargeModel(const std::string& path, const char* operation)
{
    platform::ShowMessage(
        platform::FormatMessage("Le fichier %s est trop volumineux (4 Go ou plus). %s", path.c_str(), operation),
        "Erreur", platform::MessageKind::Warning);
}

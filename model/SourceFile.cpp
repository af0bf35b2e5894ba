#include "model/SourceFile.h"

#include <cerrno>

#include <sys/stat.h>

std::optional<SourceFile> OpenSourceFile(const std::string& path, LoadError& error)
{
    platform::OpenFailure failure;
    platform::FileHandle handle = platform::OpenRegularFile(path, failure);
    if (!handle) {
        error = CannotOpen(failure);
        return std::nullopt;
    }
    struct stat status {};
    if (fstat(fileno(handle.get()), &status) != 0) {
        error = UnreadableFile(errno);
        return std::nullopt;
    }
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    if (size > kLargestModelFileSize) {
        error = TooLargeModel(path, "Model::ReadFile");
        return std::nullopt;
    }
    return SourceFile{std::move(handle), static_cast<std::size_t>(size)};
}

LoadError TooLargeModel(const std::string& path, const char* operation)
{
    return LoadErrorOf(LoadErrorKind::TooLarge,
                       {{platform::FormatMessage("Le fichier %s est trop volumineux (4 Go ou plus). %s", path.c_str(),
                                                 operation),
                         "Erreur", platform::MessageKind::Warning}});
}

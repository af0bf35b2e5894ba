// A ".x" file opened for reading, with its size. Files of 4 GiB or more are
// refused with a message: the readers keep positions in 32 bits.
#pragma once

#include "platform/RegularFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::uintmax_t kLargestModelFileSize = 0xFFFFFFFFu;

struct SourceFile {
    platform::FileHandle handle;
    std::size_t size = 0;
};

// Nothing, silently, when the file cannot be opened or is not a regular file;
// nothing, with the size message, when it is too large.
std::optional<SourceFile> OpenSourceFile(const std::string& path);

// "Le fichier PATH est trop volumineux (4 Go ou plus). OPERATION".
void RefuseLargeModel(const std::string& path, const char* operation);

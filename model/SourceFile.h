// A ".x" file opened for reading, with its size. Files of 4 GiB or more are
// refused with a message: the readers keep positions in 32 bits.
#pragma once

#include "model/LoadError.h"
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

// Nothing when the file cannot be opened, is not a regular file or is too
// large; `error` then says why (only the last with a message).
std::optional<SourceFile> OpenSourceFile(const std::string& path, LoadError& error);

// "Le fichier PATH est trop volumineux (4 Go ou plus). OPERATION".
LoadError TooLargeModel(const std::string& path, const char* operation);

// Opening a file for reading only when it is a regular file: a FIFO would
// block the open or the read, and a device such as /dev/zero never ends.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The open file, in binary mode, or null when it cannot be opened or is not a
// regular file (a folder, a device, a pipe).
FileHandle OpenRegularFile(const std::string& path);

}  // namespace platform

// Opening a file for reading only when it is a regular file: a FIFO would
// block the open or the read, and a device such as /dev/zero never ends.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Why a file was not opened.
struct OpenFailure {
    enum class Kind { NoSuchFile, Folder, NotRegularFile, NotOpened } kind = Kind::NotOpened;
    int error = 0;  // the errno of a failed open (NotOpened)
};

// The open file, in binary mode, or null when it cannot be opened or is not a
// regular file (a folder, a device, a pipe); `failure` then says which.
FileHandle OpenRegularFile(const std::string& path);
FileHandle OpenRegularFile(const std::string& path, OpenFailure& failure);

// Reads `length` bytes from `offset` on without moving the stream's position,
// so that several threads may each read a part of one file; false when the
// file ends first (it was cut while read) or the read fails.
bool ReadFileAt(std::FILE* file, std::size_t offset, char* into, std::size_t length);

}  // namespace platform

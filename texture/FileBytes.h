// Reading a texture file into memory.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>

// A file's bytes. The buffer is not zero-filled before the file is read into
// it: for large textures that pass would cost as much as the read.
class FileBuffer {
public:
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }
    operator std::span<const std::uint8_t>() const { return bytes(); }
    std::size_t size() const { return size_; }

private:
    friend std::optional<FileBuffer> ReadFileBytes(const std::string&, std::uint64_t);
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
};

// Up to `limit` bytes from the start of the file; nothing when it cannot be
// opened or read, is not a regular file (a folder, a device, a pipe), or
// memory runs out.
std::optional<FileBuffer> ReadFileBytes(const std::string& path,
                                        std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());

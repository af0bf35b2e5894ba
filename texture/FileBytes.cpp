#include "texture/FileBytes.h"

#include "platform/RegularFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// A new buffer of `capacity` bytes holding the first `used` bytes of `old`.
std::unique_ptr<std::uint8_t[]> Grow(const std::unique_ptr<std::uint8_t[]>& old, std::size_t used, std::size_t capacity)
{
    try {
        auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (used != 0) std::memcpy(grown.get(), old.get(), used);
        return grown;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

std::optional<FileBuffer> ReadFileBytes(const std::string& path, std::uint64_t limit)
{
    const platform::FileHandle file = platform::OpenRegularFile(path);
    if (!file) return std::nullopt;

    // The size is only a hint for the first read; the file may change under us.
    struct stat status {};
    std::uint64_t expected = 0;
    if (fstat(fileno(file.get()), &status) == 0 && status.st_size > 0) expected = static_cast<std::uint64_t>(status.st_size);
    constexpr std::uint64_t kChunk = 1 << 16;
    const auto capped = [&](std::uint64_t size) {
        return static_cast<std::size_t>(std::min({size, limit, std::uint64_t{std::numeric_limits<std::size_t>::max() / 2}}));
    };

    FileBuffer buffer;
    std::size_t capacity = 0;
    std::size_t want = capped(std::max(expected, kChunk));
    while (buffer.size_ < limit) {
        if (buffer.size_ == capacity) {
            // Full: look for one more byte before growing, so a file of the
            // expected size is read into a buffer of exactly its size.
            int next = EOF;
            if (capacity != 0 && (next = std::fgetc(file.get())) == EOF) break;
            capacity = capped(std::max<std::uint64_t>(want, buffer.size_ + 1));
            auto grown = Grow(buffer.data_, buffer.size_, capacity);
            if (!grown) return std::nullopt;
            buffer.data_ = std::move(grown);
            if (next != EOF) buffer.data_[buffer.size_++] = static_cast<std::uint8_t>(next);
            want = capped(2 * std::max<std::uint64_t>(capacity, kChunk));
            continue;
        }
        const std::size_t requested = capacity - buffer.size_;
        const std::size_t got = std::fread(buffer.data_.get() + buffer.size_, 1, requested, file.get());
        buffer.size_ += got;
        if (got < requested) break;
    }
    if (std::ferror(file.get())) return std::nullopt;
    return buffer;
}

#include "texture/FileBytes.h"

#include "texture/ImageLimits.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::uint64_t limit)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;

    // The size is only a hint for the first read; the file may change under us.
    struct stat status {};
    std::uint64_t expected = 0;
    if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        expected = static_cast<std::uint64_t>(status.st_size);
    constexpr std::uint64_t kChunk = 1 << 16;

    std::vector<std::uint8_t> bytes;
    std::size_t used = 0;
    std::uint64_t want = std::min(limit, std::max(expected, kChunk));
    while (used < limit) {
        if (bytes.size() == used) {
            // Full: look for one more byte before growing, so a file of the
            // expected size is read into a buffer of exactly its size.
            if (used != 0) {
                const int next = std::fgetc(file.get());
                if (next == EOF) break;
                if (!ReserveBytes(bytes, static_cast<std::size_t>(std::min<std::uint64_t>(limit, used + want))))
                    return std::nullopt;
                bytes[used++] = static_cast<std::uint8_t>(next);
                continue;
            }
            if (!ReserveBytes(bytes, static_cast<std::size_t>(want))) return std::nullopt;
        }
        const std::size_t requested = bytes.size() - used;
        const std::size_t got = std::fread(bytes.data() + used, 1, requested, file.get());
        used += got;
        if (got < requested) break;
        want = std::max<std::uint64_t>(used, kChunk);  // grow geometrically past the hint
    }
    if (std::ferror(file.get())) return std::nullopt;
    bytes.resize(used);
    return bytes;
}

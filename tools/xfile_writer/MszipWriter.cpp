#include "tools/xfile_writer/MszipWriter.h"

#include "model/binary/LittleEndian.h"
#include "model/binary/XFileHeader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace xfile {

namespace {
class Deflater {
public:
    explicit Deflater(int level) { ready_ = deflateInit2(&stream_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
    ~Deflater()
    {
        if (ready_) deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};
}  // namespace

std::vector<std::uint8_t> CompressMszip(std::span<const std::uint8_t> file, std::size_t blockBytes, int level)
{
    FileHeader header;
    std::string error;
    if (!ReadHeader(file, header, error) || header.compressed || file.size() > UINT32_MAX) return {};
    blockBytes = std::clamp<std::size_t>(blockBytes, 1, kMszipBlockBytes);
    Deflater deflater(level);
    if (!deflater.ready()) return {};

    std::vector<std::uint8_t> out(file.begin(), file.begin() + kHeaderSize);
    std::memcpy(out.data() + 8, header.encoding == Encoding::Binary ? "bzip" : "tzip", 4);
    detail::AppendLe32(out, static_cast<std::uint32_t>(file.size()));
    std::vector<std::uint8_t> block;
    for (std::size_t start = kHeaderSize; start < file.size(); start += blockBytes) {
        const std::size_t size = std::min(blockBytes, file.size() - start);
        z_stream& stream = deflater.stream();
        deflateReset(&stream);
        const std::size_t history = std::min<std::size_t>(start - kHeaderSize, 32768);
        if (history > 0) deflateSetDictionary(&stream, file.data() + start - history, static_cast<uInt>(history));
        block.resize(deflateBound(&stream, static_cast<uLong>(size)));
        stream.next_in = const_cast<Bytef*>(file.data() + start);
        stream.avail_in = static_cast<uInt>(size);
        stream.next_out = block.data();
        stream.avail_out = static_cast<uInt>(block.size());
        if (deflate(&stream, Z_FINISH) != Z_STREAM_END) return {};
        const std::size_t compressed = block.size() - stream.avail_out;
        detail::AppendLe16(out, static_cast<std::uint16_t>(size));
        detail::AppendLe16(out, static_cast<std::uint16_t>(compressed + 2));
        out.push_back('C');
        out.push_back('K');
        out.insert(out.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(compressed));
    }
    return out;
}

}  // namespace xfile

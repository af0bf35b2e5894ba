// MSZIP-compressed ".x" files: inflated, then read as binary tokens when
// they are binary. An input that starts with "xof " is a whole file; any
// other is what follows a "bzip" header. A refusal must say why and leave
// nothing; an inflated file must be exactly the size its header declares
// and the bytes zlib makes of it; its objects read while it inflates on
// another thread must be those read after it has inflated, and a refusal
// the same.
#include "model/binary/BinaryObjects.h"
#include "model/binary/CompressedBinaryObjects.h"
#include "model/binary/Mszip.h"
#include "platform/ParallelFor.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::size_t Le16(const std::uint8_t* p) { return p[0] | p[1] << 8; }

// zlib alone, block after block with the history as its dictionary: true
// when it makes `inflated` of the blocks.
bool ZlibMakes(const std::vector<std::uint8_t>& file, const xfile::FileBytes& inflated)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    std::vector<std::uint8_t> out(file.begin(), file.begin() + 16);
    bool same = true;
    for (std::size_t position = 20; same && position + 6 <= file.size();) {
        const std::size_t size = Le16(&file[position]), stored = Le16(&file[position + 2]);
        const std::size_t start = out.size(), history = std::min<std::size_t>(start - 16, 32768);
        inflateReset(&stream);
        if (history > 0) inflateSetDictionary(&stream, out.data() + start - history, static_cast<uInt>(history));
        out.resize(start + size);
        stream.next_in = const_cast<Bytef*>(&file[position + 6]);
        stream.avail_in = static_cast<uInt>(stored - 2);
        stream.next_out = out.data() + start;
        stream.avail_out = static_cast<uInt>(size);
        same = inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_out == 0;
        position += 4 + stored;
    }
    inflateEnd(&stream);
    return same && out.size() == inflated.size() && std::equal(out.begin() + 16, out.end(), inflated.begin() + 16);
}

bool SameDocuments(const xfile::Document& a, const xfile::Document& b)
{
    if (a.objects.size() != b.objects.size() || a.roots != b.roots || a.strings != b.strings ||
        a.references != b.references || a.parts.size() != b.parts.size() ||
        !std::equal(a.integers.begin(), a.integers.end(), b.integers.begin(), b.integers.end()) ||
        !std::equal(a.floats.begin(), a.floats.end(), b.floats.begin(), b.floats.end(),
                    [](float x, float y) { return std::memcmp(&x, &y, sizeof x) == 0; }))
        return false;
    for (std::size_t i = 0; i < a.objects.size(); ++i)
        if (a.objects[i].type != b.objects[i].type || a.objects[i].name != b.objects[i].name ||
            a.objects[i].partCount != b.objects[i].partCount)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Small inputs inflate on a thread of their own too.
    if (platform::ParallelThreadCount() < 2) platform::SetParallelThreadCount(2);
    platform::SetParallelGrainDivisor(std::size_t{1} << 12);

    std::vector<std::uint8_t> file;
    if (size >= 4 && std::memcmp(data, "xof ", 4) == 0) {
        file.assign(data, data + size);
    } else {
        const char* header = "xof 0303bzip0032";
        file.assign(header, header + 16);
        file.insert(file.end(), data, data + size);
    }
    xfile::FileBytes inflated;
    std::string error;
    // Inflated as the file reader does, giving back the blocks inflated.
    const bool ok = xfile::InflateMszip(xfile::FileBytes(file.begin(), file.end()), inflated, error);
    const bool binary = file.size() >= 16 && std::memcmp(file.data() + 8, "bzip", 4) == 0;
    xfile::Document piped;
    std::string pipedError;
    const bool pipedRead =
        binary && xfile::ReadCompressedBinaryObjects(xfile::FileBytes(file.begin(), file.end()), piped, pipedError);
    if (!ok) {
        if (error.empty() || !inflated.empty()) __builtin_trap();
        if (binary && (pipedRead || pipedError != error || !piped.objects.empty())) __builtin_trap();
        return 0;
    }
    const std::uint32_t declared = static_cast<std::uint32_t>(file[16] | file[17] << 8 | file[18] << 16) |
                                   static_cast<std::uint32_t>(file[19]) << 24;
    if (inflated.size() != declared || !ZlibMakes(file, inflated)) __builtin_trap();
    if (std::memcmp(inflated.data() + 8, "bin ", 4) == 0) {
        xfile::Document document;
        const bool read = xfile::ReadBinaryObjects(std::move(inflated), document, error);
        if (pipedRead != read || (read ? !SameDocuments(piped, document) : pipedError != error)) __builtin_trap();
    }
    return 0;
}

// MSZIP-compressed ".x" files: inflated, then read as binary tokens when
// they are binary. An input that starts with "xof " is a whole file; any
// other is what follows a "bzip" header. A refusal must say why and leave
// nothing; an inflated file must be exactly the size its header declares.
#include "model/binary/BinaryObjects.h"
#include "model/binary/Mszip.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
    if (!xfile::InflateMszip(xfile::FileBytes(file.begin(), file.end()), inflated, error)) {
        if (error.empty() || !inflated.empty()) __builtin_trap();
        return 0;
    }
    const std::uint32_t declared = static_cast<std::uint32_t>(file[16] | file[17] << 8 | file[18] << 16) |
                                   static_cast<std::uint32_t>(file[19]) << 24;
    if (inflated.size() != declared) __builtin_trap();
    if (std::memcmp(inflated.data() + 8, "bin ", 4) == 0) {
        xfile::Document document;
        xfile::ReadBinaryObjects(std::move(inflated), document, error);
    }
    return 0;
}

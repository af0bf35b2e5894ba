// Binary ".x" token streams into data objects, and those into the model
// they describe. An input that starts with "xof " is a whole file; any
// other is a token stream behind a "bin" header whose float size the
// input's first byte chooses. A refusal must say why; a document read must
// hold only parts that stand in its arrays; a model read must hold only
// animations that found their frame, and export as a valid .glb.
#include "DocumentChecks.h"
#include "model/binary/BinaryObjects.h"

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
        const char* header = size > 0 && (data[0] & 1) != 0 ? "xof 0303bin 0064" : "xof 0303bin 0032";
        file.assign(header, header + 16);
        if (size > 1) file.insert(file.end(), data + 1, data + size);
    }
    // Read as the file reader does, each step giving back what it has read
    // (under AddressSanitizer, a later read of it is reported).
    xfile::Document document;
    std::string error;
    const bool read = xfile::ReadBinaryObjects(xfile::FileBytes(file.begin(), file.end()), document, error);
    CheckDocumentAndModel(read, std::move(document), error);
    return 0;
}

// ".x" text in any layout into data objects, and those into the model they
// describe. An input that starts with "xof " is a whole file; any other is
// a body behind a "txt" header line. A refusal must say why; a document
// read must hold only parts that stand in its arrays; a model read must
// hold only animations that found their frame, and export as a valid .glb.
#include "DocumentChecks.h"
#include "model/anylayout/AnyLayoutObjects.h"
#include "platform/Messages.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::NullTraceSink traces;
    platform::ScopedTraceSink traceScope(traces);
    std::vector<std::uint8_t> file;
    if (size < 4 || std::memcmp(data, "xof ", 4) != 0) {
        const std::string_view header = "xof 0303txt 0032\n";
        file.assign(header.begin(), header.end());
    }
    file.insert(file.end(), data, data + size);

    xfile::Document document;
    std::string error;
    const bool read = xfile::ReadTextObjectsAnyLayout(file, document, error);
    CheckDocumentAndModel(read, std::move(document), error);
    return 0;
}

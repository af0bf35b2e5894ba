// The ".x" reader, the preparation steps and the glTF export on arbitrary bytes, without an
// OpenGL context (every OpenGL call then does nothing and the extension
// string is null).
#include "ExportFuzz.h"
#include "platform/Messages.h"
#include "render/LoadedModel.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
class DiscardMessages : public platform::MessageSink {
public:
    void Show(std::string_view, std::string_view, platform::MessageKind) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DiscardMessages messages;
    platform::NullTraceSink traces;
    platform::ScopedMessageSink messageScope(messages);
    platform::ScopedTraceSink traceScope(traces);

    LoadedModel loaded;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (loaded.LoadFromMemory("/nonexistent/fuzz/input.x", bytes) == S_OK) {
        CheckExport(loaded.model);
        loaded.InvertNormals();
        loaded.ComputeNormals();
    }
    return 0;
}

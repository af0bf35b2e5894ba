#include "texture/SharedTextures.h"

#include "platform/AsciiCase.h"
#include "platform/Messages.h"
#include "texture/TexturePath.h"

#include <filesystem>
#include <system_error>

namespace {

// Shows every message as it comes, and keeps them to be shown again.
class RecordingForwarder : public platform::MessageSink {
public:
    explicit RecordingForwarder(platform::MessageSink& next) : next_(next) {}
    void Show(std::string_view text, std::string_view caption, platform::MessageKind kind) override
    {
        messages.push_back({std::string(text), std::string(caption), kind});
        next_.Show(text, caption, kind);
    }
    std::vector<platform::RecordedMessage> messages;

private:
    platform::MessageSink& next_;
};

// What decides the reader (the extension, in lower case) and the file it would read.
std::pair<std::string, std::string> FileKey(const std::string& fileName, const std::string& modelFolder)
{
    const std::size_t dot = fileName.rfind('.');
    std::string extension = dot == std::string::npos ? fileName : fileName.substr(dot + 1);
    for (char& c : extension) c = platform::AsciiLower(c);
    std::error_code error;
    const std::filesystem::path file = std::filesystem::weakly_canonical(ResolveTextureFile(fileName, modelFolder), error);
    return {extension, error ? ResolveTextureFile(fileName, modelFolder) : file.string()};
}

}  // namespace

std::shared_ptr<const LoadTexture> SharedTextures::Load(const std::string& fileName)
{
    if (const auto known = byName_.find(fileName); known != byName_.end()) {
        for (const auto& message : known->second.messages)
            platform::ShowMessage(message.text, message.caption, message.kind);
        return known->second.texture;
    }

    Outcome outcome;
    const auto key = FileKey(fileName, modelFolder_);
    if (const auto loaded = byFile_.find(key); loaded != byFile_.end()) {
        outcome.texture = loaded->second;
    } else {
        RecordingForwarder forwarder(platform::CurrentMessageSink());
        const platform::ScopedMessageSink recording(forwarder);
        auto texture = std::make_shared<LoadTexture>();
        if (texture->DoLoadTexture(fileName, modelFolder_) != E_FAIL) {
            outcome.texture = std::move(texture);
            byFile_.emplace(key, outcome.texture);
        }
        outcome.messages = std::move(forwarder.messages);
    }
    return byName_.emplace(fileName, std::move(outcome)).first->second.texture;
}

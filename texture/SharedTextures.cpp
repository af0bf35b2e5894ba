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

// What decides the reader (the extension, in lower case) and the file it reads.
std::pair<std::string, std::string> FileKey(const TextureFile& file)
{
    std::string extension(TextureExtension(file.name));
    for (char& c : extension) c = platform::AsciiLower(c);
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file.path, error);
    return {extension, error ? file.path : canonical.string()};
}

}  // namespace

const SharedTextures::Outcome& SharedTextures::LoadOutcome(const std::string& fileName)
{
    if (const auto known = byName_.find(fileName); known != byName_.end()) {
        for (const auto& message : known->second.messages)
            platform::ShowMessage(message.text, message.caption, message.kind);
        return known->second;
    }

    Outcome outcome;
    const TextureFile file{fileName, ResolveTextureFile(fileName, modelFolder_)};
    const auto key = FileKey(file);
    if (const auto loaded = byFile_.find(key); loaded != byFile_.end()) {
        outcome.texture = loaded->second;
    } else {
        RecordingForwarder forwarder(platform::CurrentMessageSink());
        const platform::ScopedMessageSink recording(forwarder);
        auto texture = std::make_shared<LoadTexture>(ddsAlpha_);
        if (texture->DoLoadTexture(file, choice_) != E_FAIL) {
            outcome.texture = std::move(texture);
            byFile_.emplace(key, outcome.texture);
        }
        outcome.messages = std::move(forwarder.messages);
    }
    return byName_.emplace(fileName, std::move(outcome)).first->second;
}

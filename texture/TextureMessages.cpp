#include "texture/TextureMessages.h"

#include "platform/Messages.h"

std::string NamedMessage(std::string_view before, std::string_view name, std::string_view after)
{
    constexpr std::string_view kCut = "...";
    const std::size_t fixed = before.size() + after.size();
    if (fixed + name.size() > kMessageLimit) {
        const std::size_t room = kMessageLimit > fixed + kCut.size() ? kMessageLimit - fixed - kCut.size() : 0;
        std::size_t start = name.size() - room;
        // Never start inside a UTF-8 sequence.
        while (start < name.size() && (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80) ++start;
        std::string text;
        text.reserve(kMessageLimit);
        text.append(before).append(kCut).append(name.substr(start)).append(after);
        return text;
    }
    std::string text;
    text.reserve(fixed + name.size());
    text.append(before).append(name).append(after);
    return text;
}

void ShowTextureMessages(const std::vector<TextureMessage>& messages)
{
    for (const auto& message : messages)
        platform::ShowMessage(message.text, message.caption, platform::MessageKind::Warning);
}

TextureMessage ReaderMessage(const ReaderWording& wording, std::string_view name, std::string_view tail)
{
    std::string after(tail);
    after.append(wording.separator).append(wording.operation);
    return {NamedMessage(wording.lead, name, after), std::string(wording.caption)};
}

TextureMessage IncompleteMessage(const ReaderWording& wording, std::string_view name)
{
    return ReaderMessage(wording, name, " est incomplet");
}

TextureMessage SizeMessage(const ReaderWording& wording, std::string_view name, std::uint64_t width,
                           std::uint64_t height)
{
    return ReaderMessage(wording, name,
                         " a une taille non prise en charge (" + std::to_string(width) + " x " + std::to_string(height) +
                             ")");
}

TextureMessage MemoryMessage(const ReaderWording& wording, std::string_view name)
{
    return ReaderMessage(wording, name, " demande plus de mémoire qu'il n'y en a");
}

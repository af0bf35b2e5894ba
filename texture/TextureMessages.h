// Messages of the texture readers, kept until they are shown, and texts
// that name a file without outgrowing the message buffer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TextureMessage {
    std::string text;
    std::string caption;  // "Erreur", or "ERROR" for the DDS reader
};

inline constexpr std::string_view kErrorCaption = "Erreur";
inline constexpr std::string_view kDdsCaption = "ERROR";
inline constexpr std::size_t kMessageLimit = 4095;  // bytes of text a message box is given

// before + name + after, the name shortened from its start (marked "...")
// when the whole would exceed kMessageLimit, so the text still ends with the
// name of the operation.
std::string NamedMessage(std::string_view before, std::string_view name, std::string_view after);

// Shows each message with the warning icon, in order.
void ShowTextureMessages(const std::vector<TextureMessage>& messages);

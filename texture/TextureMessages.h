// Messages of the texture readers: kept until they are shown, worded the way
// each reader words them, and never longer than a message box takes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
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

// "<lead><name><tail>. <operation>" style texts, e.g. "Ce fichier: a.ppm est
// incomplet. Load_Ppm".
struct ReaderWording {
    std::string_view lead;       // text before the file name
    std::string_view operation;  // "Load_Ppm", ...
    std::string_view separator;  // between the text and the operation: ". " or ", "
    std::string_view caption;
};

// Each reader's wording.
inline constexpr ReaderWording kPpm{"Ce fichier: ", "Load_Ppm", ". ", kErrorCaption};
inline constexpr ReaderWording kTga{"Erreur ", "Load_TGA", ". ", kErrorCaption};
inline constexpr ReaderWording kTgaFile{"Ce fichier: ", "Load_TGA", ". ", kErrorCaption};
inline constexpr ReaderWording kBmp{"Ce fichier: ", "Load_BMP", ". ", kErrorCaption};
inline constexpr ReaderWording kJpeg{"Ce fichier: ", "Load_Jpeg", ". ", kErrorCaption};
inline constexpr ReaderWording kPng{"Ce fichier: ", "Load_PNG", ". ", kErrorCaption};
inline constexpr ReaderWording kDds{"Le fichier ", "Load_DDS", ", ", kDdsCaption};
inline constexpr ReaderWording kDdsLower{"le fichier ", "Load_DDS", ", ", kDdsCaption};

TextureMessage ReaderMessage(const ReaderWording& wording, std::string_view name, std::string_view tail);
// The refusals every reader shares, each in the wording of its reader.
TextureMessage IncompleteMessage(const ReaderWording& wording, std::string_view name);
TextureMessage SizeMessage(const ReaderWording& wording, std::string_view name, std::uint64_t width,
                           std::uint64_t height);
TextureMessage MemoryMessage(const ReaderWording& wording, std::string_view name);

// How a decoder gives up: `message` follows whatever it has said so far (a
// warning stays in front), and its outcome goes back without an image.
template <typename Outcome>
Outcome Refuse(Outcome& outcome, TextureMessage message)
{
    outcome.messages.push_back(std::move(message));
    return std::move(outcome);
}

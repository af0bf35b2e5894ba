#include "texture/TextureSource.h"

#include "platform/AsciiCase.h"
#include "platform/Messages.h"
#include "texture/Dds.h"
#include "texture/TexturePath.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

struct FormatEntry {
    std::string_view extension;
    TextureFormat format;
};

// Looked up in this order.
constexpr std::array kFormats{
    FormatEntry{"jpg", TextureFormat::Jpeg}, FormatEntry{"jpeg", TextureFormat::Jpeg},
    FormatEntry{"tga", TextureFormat::Tga},  FormatEntry{"bmp", TextureFormat::Bmp},
    FormatEntry{"ppm", TextureFormat::Ppm},  FormatEntry{"png", TextureFormat::Png},
    FormatEntry{"dds", TextureFormat::Dds},
};

// What each reader says of a file it cannot read at all.
TextureMessage MissingFileMessage(TextureFormat format, std::string_view name)
{
    switch (format) {
    case TextureFormat::Jpeg: return ReaderMessage(kJpeg, name, " n'existe pas");
    case TextureFormat::Tga: return ReaderMessage(kTgaFile, name, " n'existe pas");
    case TextureFormat::Bmp: return ReaderMessage(kBmp, name, " n'existe pas");
    case TextureFormat::Ppm: return ReaderMessage(kPpm, name, " n'existe pas");
    case TextureFormat::Png: return ReaderMessage(kPng, name, " n'existe pas");
    case TextureFormat::Dds: return ReaderMessage(kDdsLower, name, " n'a pas été trouvé");
    }
    return {};
}

using ImageDecoder = Decoded<TextureImage> (*)(std::span<const std::uint8_t>, const DecodeContext&);

ImageDecoder DecoderOf(TextureFormat format)
{
    switch (format) {
    case TextureFormat::Jpeg: return DecodeJpeg;
    case TextureFormat::Tga: return DecodeTga;
    case TextureFormat::Bmp: return DecodeBmp;
    case TextureFormat::Ppm: return DecodePpm;
    case TextureFormat::Png: return DecodePng;
    case TextureFormat::Dds: break;
    }
    return nullptr;
}

struct Signature {
    std::string_view bytes;
    TextureFormat format;
};

constexpr std::array kSignatures{
    Signature{{"\x89PNG\r\n\x1A\n", 8}, TextureFormat::Png},
    Signature{"\xFF\xD8\xFF", TextureFormat::Jpeg},
    Signature{"BM", TextureFormat::Bmp},
    Signature{"DDS ", TextureFormat::Dds},
};
constexpr std::size_t kLongestSignature = 8;

// One run of a reader whose words are kept instead of shown.
struct HeldRun {
    bool read = false;
    std::vector<platform::RecordedMessage> words;
};

HeldRun RunHolding(const std::function<bool(TextureFormat)>& read, TextureFormat format)
{
    platform::RecordingMessageSink held;
    const platform::ScopedMessageSink holding(held);
    HeldRun run;
    run.read = read(format);
    run.words = std::move(held.messages);
    return run;
}

}  // namespace

std::optional<TextureFormat> ChooseTextureFormat(std::string_view fileName)
{
    const std::string_view extension = TextureExtension(fileName);
    const auto entry = std::find_if(kFormats.begin(), kFormats.end(), [&](const FormatEntry& candidate) {
        return platform::EqualIgnoringAsciiCase(candidate.extension, extension);
    });
    if (entry == kFormats.end()) {
        platform::ShowMessage("Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture",
                              "Erreur", platform::MessageKind::Warning);
        return std::nullopt;
    }
    return entry->format;
}

std::optional<TextureFormat> FormatBySignature(std::span<const std::uint8_t> head)
{
    for (const auto& signature : kSignatures) {
        if (head.size() >= signature.bytes.size() &&
            std::equal(signature.bytes.begin(), signature.bytes.end(), head.begin(),
                       [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }))
            return signature.format;
    }
    return std::nullopt;
}

TextureFormat ReadChoosingByContent(ReaderChoice choice, TextureFormat chosen, const std::string& path,
                                    const std::function<bool(TextureFormat)>& read)
{
    if (choice == ReaderChoice::ByExtension) {
        read(chosen);
        return chosen;
    }
    HeldRun first = RunHolding(read, chosen);
    if (!first.read) {
        const auto head = ReadFileBytes(path, kLongestSignature);
        const auto other = head ? FormatBySignature(*head) : std::nullopt;
        if (other && *other != chosen) {
            if (HeldRun second = RunHolding(read, *other); second.read) {
                platform::ShowMessages(second.words);
                return *other;
            }
        }
    }
    platform::ShowMessages(first.words);
    return chosen;
}

TextureFileContents ReadTextureFile(TextureFormat format, const TextureFile& file, std::uint32_t maxSide)
{
    TextureFileContents contents;
    const DecodeContext context{file.name, maxSide};
    std::vector<TextureMessage> messages;
    if (format == TextureFormat::Bmp) {
        // The bitmap loader reads the file piece by piece itself; it tells a missing file.
        auto decoded = DecodeBmpFile(file.path, context);
        messages = std::move(decoded.messages);
        contents.image = std::move(decoded.image);
    } else {
        // A DDS file is read no further than its levels reach.
        contents.bytes = format == TextureFormat::Dds ? ReadDdsBytes(file.path, maxSide) : ReadFileBytes(file.path);
        if (!contents.bytes) {
            messages.push_back(MissingFileMessage(format, file.name));
        } else if (format == TextureFormat::Dds) {
            auto decoded = DecodeDds(*contents.bytes, context);
            messages = std::move(decoded.messages);
            contents.dds = std::move(decoded.image);
        } else {
            auto decoded = DecoderOf(format)(*contents.bytes, context);
            messages = std::move(decoded.messages);
            contents.image = std::move(decoded.image);
        }
    }
    ShowTextureMessages(messages);
    return contents;
}

#include "texture/TextureSource.h"

#include "platform/AsciiCase.h"
#include "platform/Messages.h"
#include "texture/Dds.h"
#include "texture/TexturePath.h"

#include <algorithm>
#include <array>

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

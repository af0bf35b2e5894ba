// DirectDraw Surface files holding DXT1, DXT3 or DXT5 data, uploaded as they
// are through ARB_texture_compression, one level after another.
#include "platform/GlEntryPoints.h"
#include "texture/Dds.h"
#include "texture/Decoders.h"
#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/TextureMessages.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr ReaderWording kDds{"Le fichier ", "Load_DDS", ", ", kDdsCaption};
constexpr ReaderWording kDdsLower{"le fichier ", "Load_DDS", ", ", kDdsCaption};

std::uint32_t Little32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

struct DdsHeader {
    std::uint32_t height;
    std::uint32_t width;
    std::uint32_t linearSize;
    std::uint32_t mipmapCount;
    char fourCC[4];
};

DdsHeader ParseHeader(std::span<const std::uint8_t> bytes)
{
    DdsHeader header{};
    header.height = Little32(bytes, 12);
    header.width = Little32(bytes, 16);
    header.linearSize = Little32(bytes, 20);
    header.mipmapCount = Little32(bytes, 28);
    std::memcpy(header.fourCC, bytes.data() + 84, 4);
    return header;
}

bool HasMagic(std::span<const std::uint8_t> bytes) { return bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0; }

struct DxtFormat {
    GLenum format;
    std::uint32_t blockBytes;
    std::int32_t components;
};

std::optional<DxtFormat> FormatOf(const char (&fourCC)[4])
{
    if (std::memcmp(fourCC, "DXT1", 4) == 0) return DxtFormat{GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 8, 3};
    if (std::memcmp(fourCC, "DXT3", 4) == 0) return DxtFormat{GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 16, 4};
    if (std::memcmp(fourCC, "DXT5", 4) == 0) return DxtFormat{GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 16, 4};
    return std::nullopt;
}

// The levels the header asks for, each sized in whole 4x4 blocks from the
// sides; a count of 0 means one level, and a count past the full chain stops
// at the 1x1 level (further levels do not exist in OpenGL).
std::vector<DdsLevel> PlanLevels(std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                                 std::uint32_t blockBytes)
{
    std::uint32_t chain = 1;
    for (std::uint32_t side = std::max(width, height); side > 1; side /= 2) ++chain;
    const std::uint32_t count = std::clamp<std::uint32_t>(mipmapCount, 1, chain);
    std::vector<DdsLevel> levels(count);
    std::size_t offset = 0;
    std::uint32_t w = width, h = height;
    for (auto& level : levels) {
        w = std::max<std::uint32_t>(w, 1);
        h = std::max<std::uint32_t>(h, 1);
        level.width = w;
        level.height = h;
        level.offset = offset;
        level.size = static_cast<std::size_t>((w + 3) / 4) * ((h + 3) / 4) * blockBytes;
        offset += level.size;
        w /= 2;
        h /= 2;
    }
    return levels;
}

}  // namespace

std::optional<std::uint64_t> DdsDataBytesNeeded(std::span<const std::uint8_t> header, std::uint32_t maxSide)
{
    if (header.size() < kDdsHeaderBytes || !HasMagic(header)) return std::nullopt;
    const DdsHeader fields = ParseHeader(header);
    const auto format = FormatOf(fields.fourCC);
    if (!format || !SidesAccepted(fields.width, fields.height, maxSide)) return std::nullopt;
    const auto levels = PlanLevels(fields.width, fields.height, fields.mipmapCount, format->blockBytes);
    return levels.back().offset + levels.back().size;
}

Decoded<DdsImage> DecodeDds(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<DdsImage> result;
    const auto invalid = [&] { return Refuse(result, ReaderMessage(kDds, context.name, " n'est pas valide")); };

    if (!HasMagic(bytes) || bytes.size() < kDdsHeaderBytes) return invalid();
    const DdsHeader header = ParseHeader(bytes);
    const auto format = FormatOf(header.fourCC);
    if (!format)
        return Refuse(result, ReaderMessage(kDds, context.name, " n'utilise pas la compression DXT1, DXT3, ou DXT5"));
    if (header.linearSize == 0) result.messages.push_back({"dwLinearSize est à 0", std::string(kDdsCaption)});
    if (!SidesAccepted(header.width, header.height, context.maxSide))
        return Refuse(result, SizeMessage(kDds, context.name, header.width, header.height));

    DdsImage image;
    image.width = header.width;
    image.height = header.height;
    image.components = format->components;
    image.format = format->format;
    image.mipmapCount = header.mipmapCount;
    image.levels = PlanLevels(header.width, header.height, header.mipmapCount, format->blockBytes);

    // Only the levels whose bytes are all there; without level 0 there is no image.
    const std::size_t present = bytes.size() - kDdsHeaderBytes;
    const auto firstMissing = std::find_if(image.levels.begin(), image.levels.end(),
                                           [&](const DdsLevel& level) { return level.offset + level.size > present; });
    image.levels.erase(firstMissing, image.levels.end());
    if (image.levels.empty()) return invalid();

    const std::size_t used = image.levels.back().offset + image.levels.back().size;
    if (!ReserveBytes(image.data, used)) return Refuse(result, MemoryMessage(kDds, context.name));
    std::memcpy(image.data.data(), bytes.data() + kDdsHeaderBytes, used);
    result.image = std::move(image);
    return result;
}

std::optional<FileBuffer> ReadDdsBytes(const std::string& path, std::uint32_t maxSide)
{
    auto bytes = ReadFileBytes(path, kDdsHeaderBytes);
    if (!bytes) return std::nullopt;
    // No more than the levels can use; a header that is not usable needs nothing more.
    if (const auto needed = DdsDataBytesNeeded(*bytes, maxSide)) bytes = ReadFileBytes(path, kDdsHeaderBytes + *needed);
    return bytes;
}

void UploadDdsLevels(const DdsImage& image, PFNGLCOMPRESSEDTEXIMAGE2DARBPROC compressedTexImage2D)
{
    for (std::size_t level = 0; level < image.levels.size(); ++level) {
        const DdsLevel& stored = image.levels[level];
        compressedTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), image.format, static_cast<GLsizei>(stored.width),
                             static_cast<GLsizei>(stored.height), 0, static_cast<GLsizei>(stored.size),
                             image.data.data() + stored.offset);
    }
}

HRESULT LoadTexture::Load_DDS(const TextureFile& file)
{
    if (!platform::HasGlExtension("ARB_texture_compression")) {
        ShowTextureMessages({{"ARB_texture_compression n'a pas été trouvé, Load_DDS", std::string(kDdsCaption)}});
        return E_FAIL;
    }
    // Looked up on every call: the entry point belongs to the current context.
    const auto compressedTexImage2D = reinterpret_cast<PFNGLCOMPRESSEDTEXIMAGE2DARBPROC>(
        platform::GetGlProcAddress("glCompressedTexImage2DARB"));
    if (compressedTexImage2D == nullptr) {
        ShowTextureMessages(
            {{"Le point d'entrée glCompressedTexImage2DARB n'a pas été trouvé, Load_DDS", std::string(kDdsCaption)}});
        return E_FAIL;
    }

    std::optional<DdsImage> image;
    {
        const std::uint32_t maxSide = MaxTextureSide();
        const auto bytes = ReadDdsBytes(file.path, maxSide);
        if (!bytes) {
            ShowTextureMessages({ReaderMessage(kDdsLower, file.name, " n'a pas été trouvé")});
            return E_FAIL;
        }
        auto decoded = DecodeDds(*bytes, DecodeContext{file.name, maxSide});
        ShowTextureMessages(decoded.messages);
        image = std::move(decoded.image);
    }
    if (!image) return E_FAIL;

    ReleaseTexture();
    GLuint name = 0;
    glGenTextures(1, &name);
    textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    UploadDdsLevels(*image, compressedTexImage2D);
    return S_OK;
}

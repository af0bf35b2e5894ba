// DirectDraw Surface files. DXT1, DXT3 and DXT5 blocks, named by their
// four-character code or by the DX10 extended header (BC1, BC2, BC3), go to
// OpenGL as they are through ARB_texture_compression; the common uncompressed
// layouts, known by their pixel-format flags and bit masks, are converted to
// 8-bit samples first. The levels go in one after another; of a cube map, an
// array or a volume only the first face, element or slice is read.
#include "texture/Dds.h"

#include "platform/GlEntryPoints.h"
#include "texture/Decoders.h"
#include "texture/FileBytes.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/TextureMessages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

// DDS_PIXELFORMAT flags.
constexpr std::uint32_t kAlphaPixels = 0x1;
constexpr std::uint32_t kAlphaOnly = 0x2;
constexpr std::uint32_t kFourCC = 0x4;
constexpr std::uint32_t kRgb = 0x40;
constexpr std::uint32_t kLuminance = 0x20000;
// DDS_HEADER dwCaps2 of a volume texture.
constexpr std::uint32_t kVolumeCaps = 0x200000;
// DDS_HEADER_DXT10 resourceDimension of a volume texture.
constexpr std::uint32_t kDimensionTexture3D = 4;

std::uint32_t Little32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

struct DdsHeader {
    std::uint32_t height;
    std::uint32_t width;
    std::uint32_t linearSize;
    std::uint32_t depth;
    std::uint32_t mipmapCount;
    std::uint32_t formatFlags;
    char fourCC[4];
    std::uint32_t bitCount;
    std::array<std::uint32_t, 4> masks;  // red (or luminance), green, blue, alpha
    std::uint32_t caps2;
};

DdsHeader ParseHeader(std::span<const std::uint8_t> bytes)
{
    DdsHeader header{};
    header.height = Little32(bytes, 12);
    header.width = Little32(bytes, 16);
    header.linearSize = Little32(bytes, 20);
    header.depth = Little32(bytes, 24);
    header.mipmapCount = Little32(bytes, 28);
    header.formatFlags = Little32(bytes, 80);
    std::memcpy(header.fourCC, bytes.data() + 84, 4);
    header.bitCount = Little32(bytes, 88);
    for (std::size_t k = 0; k < header.masks.size(); ++k) header.masks[k] = Little32(bytes, 92 + 4 * k);
    header.caps2 = Little32(bytes, 112);
    return header;
}

bool HasMagic(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "DDS ", 4) == 0;
}

bool HasDx10Header(const DdsHeader& header) { return std::memcmp(header.fourCC, "DX10", 4) == 0; }

// Where the data starts: after the extended header in "DX10" files.
std::size_t DataStart(const DdsHeader& header)
{
    return kDdsHeaderBytes + (HasDx10Header(header) ? kDdsDx10HeaderBytes : 0);
}

// How the surfaces of a file are stored, and how they go to OpenGL.
struct DdsLayout {
    GLenum format;             // as DdsImage::format
    GLenum pixelFormat;        // as DdsImage::pixelFormat
    std::int32_t components;   // as DdsImage::components
    std::uint32_t blockBytes;  // bytes of a 4x4 block; 0 when uncompressed
    std::uint32_t pixelBytes;  // bytes of a stored pixel when uncompressed
    // The stored bits of each converted sample, in the order of pixelFormat.
    std::array<std::uint32_t, 4> sampleMasks;
};

constexpr DdsLayout kDxt1{GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 3, 8, 0, {}};
constexpr DdsLayout kDxt3{GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 4, 16, 0, {}};
constexpr DdsLayout kDxt5{GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 4, 16, 0, {}};

std::optional<DdsLayout> FourCCLayout(const char (&fourCC)[4])
{
    if (std::memcmp(fourCC, "DXT1", 4) == 0) return kDxt1;
    if (std::memcmp(fourCC, "DXT3", 4) == 0) return kDxt3;
    if (std::memcmp(fourCC, "DXT5", 4) == 0) return kDxt5;
    return std::nullopt;
}

// DXGI_FORMAT_BC1 (70 typeless, 71 unorm, 72 unorm sRGB), BC2 (73 to 75) and
// BC3 (76 to 78) hold the blocks of DXT1, DXT3 and DXT5; sRGB data is shown
// as stored, like that of any other file.
std::optional<DdsLayout> DxgiLayout(std::uint32_t dxgiFormat)
{
    if (dxgiFormat >= 70 && dxgiFormat <= 72) return kDxt1;
    if (dxgiFormat >= 73 && dxgiFormat <= 75) return kDxt3;
    if (dxgiFormat >= 76 && dxgiFormat <= 78) return kDxt5;
    return std::nullopt;
}

// An uncompressed layout as the pixel format gives it: its kind of data,
// whether it holds alpha, its bits per pixel and its masks (0 where unused).
struct MaskedLayout {
    std::uint32_t kind;  // kRgb, kLuminance or kAlphaOnly
    bool alpha;
    std::uint32_t bitCount;
    std::array<std::uint32_t, 4> masks;  // red (or luminance), green, blue, alpha
};

constexpr std::array kMaskedLayouts{
    MaskedLayout{kRgb, true, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},   // A8R8G8B8
    MaskedLayout{kRgb, false, 32, {0xFF0000, 0xFF00, 0xFF, 0}},           // X8R8G8B8
    MaskedLayout{kRgb, true, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}},   // A8B8G8R8
    MaskedLayout{kRgb, false, 32, {0xFF, 0xFF00, 0xFF0000, 0}},           // X8B8G8R8
    MaskedLayout{kRgb, false, 24, {0xFF0000, 0xFF00, 0xFF, 0}},           // R8G8B8
    MaskedLayout{kRgb, false, 16, {0xF800, 0x7E0, 0x1F, 0}},              // R5G6B5
    MaskedLayout{kRgb, true, 16, {0x7C00, 0x3E0, 0x1F, 0x8000}},          // A1R5G5B5
    MaskedLayout{kRgb, false, 16, {0x7C00, 0x3E0, 0x1F, 0}},              // X1R5G5B5
    MaskedLayout{kRgb, true, 16, {0xF00, 0xF0, 0xF, 0xF000}},             // A4R4G4B4
    MaskedLayout{kRgb, false, 16, {0xF00, 0xF0, 0xF, 0}},                 // X4R4G4B4
    MaskedLayout{kLuminance, false, 8, {0xFF, 0, 0, 0}},                  // L8
    MaskedLayout{kLuminance, true, 16, {0xFF, 0, 0, 0xFF00}},             // A8L8
    MaskedLayout{kAlphaOnly, true, 8, {0, 0, 0, 0xFF}},                   // A8
};

DdsLayout ConvertedLayout(const MaskedLayout& stored)
{
    const auto& [red, green, blue, alpha] = stored.masks;
    const std::uint32_t pixelBytes = stored.bitCount / 8;
    if (stored.kind == kRgb)
        return stored.alpha ? DdsLayout{GL_RGBA8, GL_RGBA, 4, 0, pixelBytes, {red, green, blue, alpha}}
                            : DdsLayout{GL_RGB8, GL_RGB, 3, 0, pixelBytes, {red, green, blue, 0}};
    if (stored.kind == kLuminance)
        return stored.alpha ? DdsLayout{GL_LUMINANCE8_ALPHA8, GL_LUMINANCE_ALPHA, 2, 0, pixelBytes, {red, alpha, 0, 0}}
                            : DdsLayout{GL_LUMINANCE8, GL_LUMINANCE, 1, 0, pixelBytes, {red, 0, 0, 0}};
    return DdsLayout{GL_ALPHA8, GL_ALPHA, 1, 0, pixelBytes, {alpha, 0, 0, 0}};
}

std::optional<DdsLayout> MaskLayout(const DdsHeader& header)
{
    const std::uint32_t kind = header.formatFlags & (kRgb | kLuminance | kAlphaOnly);
    // Alpha bits count only when the flags say so: a layout without alpha may
    // leave its unused bits in the alpha mask.
    const bool alpha = kind == kAlphaOnly || ((header.formatFlags & kAlphaPixels) != 0 && header.masks[3] != 0);
    std::array<std::uint32_t, 4> masks = header.masks;
    if (!alpha) masks[3] = 0;
    if (kind != kRgb) masks[1] = masks[2] = 0;
    if (kind == kAlphaOnly) masks[0] = 0;
    const auto found = std::find_if(kMaskedLayouts.begin(), kMaskedLayouts.end(), [&](const MaskedLayout& known) {
        return known.kind == kind && known.alpha == alpha && known.bitCount == header.bitCount && known.masks == masks;
    });
    if (found == kMaskedLayouts.end()) return std::nullopt;
    return ConvertedLayout(*found);
}

// The layout of the file's data, or nothing when it is not one this reader
// takes. `bytes` holds the extended header of a "DX10" file.
std::optional<DdsLayout> LayoutOf(const DdsHeader& header, std::span<const std::uint8_t> bytes)
{
    // DXT and DX10 codes count whatever the flags say: files that leave DDPF_FOURCC out load too.
    if (const auto layout = FourCCLayout(header.fourCC)) return layout;
    if (HasDx10Header(header)) return DxgiLayout(Little32(bytes, kDdsHeaderBytes));
    if ((header.formatFlags & kFourCC) != 0) return std::nullopt;  // a code of another format
    return MaskLayout(header);
}

// The depth slices of a volume's first level; 1 for any other file.
std::uint32_t SliceCount(const DdsHeader& header, std::span<const std::uint8_t> bytes)
{
    const bool volume = HasDx10Header(header) ? Little32(bytes, kDdsHeaderBytes + 4) == kDimensionTexture3D
                                              : (header.caps2 & kVolumeCaps) != 0;
    return volume ? std::max<std::uint32_t>(header.depth, 1) : 1;
}

// A level of the first surface as the file stores it: where its bytes start
// after the headers, and how many there are.
struct StoredLevel {
    std::uint32_t width;
    std::uint32_t height;
    std::uint64_t offset;
    std::uint64_t size;
};

// The levels the header asks for; a count of 0 means one level, and a count
// past the full chain stops at the 1x1 level (further levels do not exist in
// OpenGL). Block data takes whole 4x4 blocks; uncompressed rows take
// (width × bits + 7) / 8 bytes, so no padding. A volume stores every slice of
// a level before the next level, each level with half the slices of the one
// before (at least one); the first slice of each level is the one kept.
// The sides must have been accepted (SidesAccepted).
std::vector<StoredLevel> PlanLevels(const DdsHeader& header, const DdsLayout& layout, std::uint32_t slices)
{
    std::uint32_t chain = 1;
    for (std::uint32_t side = std::max(header.width, header.height); side > 1; side /= 2) ++chain;
    const std::uint32_t count = std::clamp<std::uint32_t>(header.mipmapCount, 1, chain);
    std::vector<StoredLevel> levels(count);
    std::uint64_t offset = 0;
    std::uint32_t w = header.width, h = header.height;
    for (auto& level : levels) {
        w = std::max<std::uint32_t>(w, 1);
        h = std::max<std::uint32_t>(h, 1);
        level.width = w;
        level.height = h;
        level.offset = offset;
        level.size = layout.blockBytes != 0 ? std::uint64_t{(w + 3) / 4} * ((h + 3) / 4) * layout.blockBytes
                                            : std::uint64_t{w} * layout.pixelBytes * h;
        offset += level.size * slices;
        slices = std::max<std::uint32_t>(slices / 2, 1);
        w /= 2;
        h /= 2;
    }
    return levels;
}

// Stored pixels of an uncompressed layout to 8-bit samples: each sample's
// bits shifted down and scaled so that all ones give 255, rounded to the nearest.
class SampleConverter {
public:
    explicit SampleConverter(const DdsLayout& layout) : layout_(layout)
    {
        for (std::int32_t c = 0; c < layout.components; ++c) {
            const std::uint32_t mask = layout.sampleMasks[c];
            shifts_[c] = std::countr_zero(mask);
            const std::uint32_t most = mask >> shifts_[c];  // at most 255: no sample of a known layout is wider
            for (std::uint32_t value = 0; value <= most; ++value)
                scales_[c][value] = static_cast<std::uint8_t>((value * 255 + most / 2) / most);
        }
    }

    void Convert(const std::uint8_t* source, std::uint8_t* target, std::size_t pixels) const
    {
        for (std::size_t i = 0; i < pixels; ++i, source += layout_.pixelBytes) {
            std::uint32_t pixel = 0;
            for (std::uint32_t b = 0; b < layout_.pixelBytes; ++b) pixel |= std::uint32_t{source[b]} << (8 * b);
            for (std::int32_t c = 0; c < layout_.components; ++c)
                *target++ = scales_[c][(pixel & layout_.sampleMasks[c]) >> shifts_[c]];
        }
    }

private:
    DdsLayout layout_;
    std::array<int, 4> shifts_{};
    std::array<std::array<std::uint8_t, 256>, 4> scales_{};
};

}  // namespace

std::optional<std::uint64_t> DdsDataBytesNeeded(std::span<const std::uint8_t> header, std::uint32_t maxSide)
{
    if (header.size() < kDdsHeaderBytes || !HasMagic(header)) return std::nullopt;
    const DdsHeader fields = ParseHeader(header);
    if (header.size() < DataStart(fields)) return std::nullopt;
    const auto layout = LayoutOf(fields, header);
    if (!layout || !SidesAccepted(fields.width, fields.height, maxSide)) return std::nullopt;
    const auto levels = PlanLevels(fields, *layout, SliceCount(fields, header));
    return DataStart(fields) - kDdsHeaderBytes + levels.back().offset + levels.back().size;
}

Decoded<DdsImage> DecodeDds(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<DdsImage> result;
    const auto invalid = [&] { return Refuse(result, ReaderMessage(kDds, context.name, " n'est pas valide")); };

    if (!HasMagic(bytes) || bytes.size() < kDdsHeaderBytes) return invalid();
    const DdsHeader header = ParseHeader(bytes);
    const std::size_t dataStart = DataStart(header);
    if (bytes.size() < dataStart) return invalid();
    const auto layout = LayoutOf(header, bytes);
    if (!layout)
        return Refuse(result, ReaderMessage(kDds, context.name, " n'utilise pas la compression DXT1, DXT3, ou DXT5"));
    if (layout->blockBytes != 0 && header.linearSize == 0)
        result.messages.push_back({"dwLinearSize est à 0", std::string(kDdsCaption)});
    if (!SidesAccepted(header.width, header.height, context.maxSide))
        return Refuse(result, SizeMessage(kDds, context.name, header.width, header.height));

    // Only the levels whose bytes are all there; without level 0 there is no image.
    auto stored = PlanLevels(header, *layout, SliceCount(header, bytes));
    const std::uint64_t present = bytes.size() - dataStart;
    const auto firstMissing = std::find_if(stored.begin(), stored.end(), [&](const StoredLevel& level) {
        return level.offset + level.size > present;
    });
    stored.erase(firstMissing, stored.end());
    if (stored.empty()) return invalid();

    DdsImage image;
    image.width = header.width;
    image.height = header.height;
    image.components = layout->components;
    image.format = layout->format;
    image.pixelFormat = layout->pixelFormat;
    image.mipmapCount = header.mipmapCount;
    std::size_t used = 0;
    for (const StoredLevel& level : stored) {
        // Converted samples take at most twice the bytes they come from (16-bit pixels to RGBA).
        const std::size_t pixels = std::size_t{level.width} * level.height;
        const std::size_t size = layout->blockBytes != 0 ? static_cast<std::size_t>(level.size)
                                                         : pixels * static_cast<std::size_t>(layout->components);
        image.levels.push_back({level.width, level.height, used, size});
        used += size;
    }
    if (!ReserveBytes(image.data, used)) return Refuse(result, MemoryMessage(kDds, context.name));
    const auto source = [&](std::size_t k) { return bytes.data() + dataStart + stored[k].offset; };
    const auto target = [&](std::size_t k) { return image.data.data() + image.levels[k].offset; };
    if (layout->blockBytes != 0) {
        for (std::size_t k = 0; k < stored.size(); ++k) std::memcpy(target(k), source(k), image.levels[k].size);
    } else {
        const SampleConverter converter(*layout);
        for (std::size_t k = 0; k < stored.size(); ++k)
            converter.Convert(source(k), target(k), std::size_t{stored[k].width} * stored[k].height);
    }
    result.image = std::move(image);
    return result;
}

std::optional<FileBuffer> ReadDdsBytes(const std::string& path, std::uint32_t maxSide)
{
    auto bytes = ReadFileBytes(path, kDdsHeaderBytes + kDdsDx10HeaderBytes);
    if (!bytes) return std::nullopt;
    // No more than the levels can use; a header that is not usable needs nothing more.
    if (const auto needed = DdsDataBytesNeeded(*bytes, maxSide)) bytes = ReadFileBytes(path, kDdsHeaderBytes + *needed);
    return bytes;
}

void UploadDdsLevels(const DdsImage& image, PFNGLCOMPRESSEDTEXIMAGE2DARBPROC compressedTexImage2D)
{
    if (image.pixelFormat != 0) {
        const PackedPixelStore packed;
        for (std::size_t level = 0; level < image.levels.size(); ++level) {
            const DdsLevel& stored = image.levels[level];
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), static_cast<GLint>(image.format),
                         static_cast<GLsizei>(stored.width), static_cast<GLsizei>(stored.height), 0, image.pixelFormat,
                         GL_UNSIGNED_BYTE, image.data.data() + stored.offset);
        }
        return;
    }
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

    // The file's bytes go with the temporary, before the upload.
    std::optional<DdsImage> image = ReadTextureFile(TextureFormat::Dds, file, MaxTextureSide()).dds;
    if (!image) return E_FAIL;

    BindNewTexture();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    UploadDdsLevels(*image, compressedTexImage2D);
    facts_ = DdsFacts(*image, ddsAlpha_);
    return S_OK;
}

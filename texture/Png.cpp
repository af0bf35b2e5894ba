// PNG files through libpng. libpng leaves a failing call by a jump to the
// point set with setjmp; the stages below that set it hold no object with a
// destructor, so the jump skips nothing that needs undoing.
//
// A file whose data ends before its image does is refused as incomplete: one
// whose IDAT chunks are too short for the image before anything is reserved,
// one cut short, or whose compressed stream ends early, as soon as libpng
// finds it. Rows are kept as they are decoded.
//
// The upload goes the way of the glpng library: level 0 only, sides brought
// to powers of two when the context requires it.
#include "texture/Png.h"

#include "platform/GlEntryPoints.h"
#include "texture/Decoders.h"
#include "texture/FileBytes.h"
#include "texture/GrowingPixels.h"
#include "texture/ImageLimits.h"
#include "texture/LoadTexture.h"
#include "texture/TextureMessages.h"

#include <GL/glu.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace {

// Deflate cannot expand data more than 1032 times: its longest match, 258
// bytes, takes two bits at least.
constexpr std::uint64_t kMostInflatedPerByte = 1032;
// libpng's error when the compressed stream, or the IDAT chunks, end before the image.
constexpr std::string_view kNotEnoughImageData = "Not enough image data";

struct PngSource {
    std::span<const std::uint8_t> bytes;
    std::size_t position;
    bool endedEarly;
    char message[256];
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->position < length) {
        source->endedEarly = true;
        png_error(png, "fin de fichier prématurée");
    }
    std::memcpy(target, source->bytes.data() + source->position, length);
    source->position += length;
}

// Keeps libpng's message and jumps back to the stage that failed (returning
// would let libpng print the message first).
[[noreturn]] void KeepError(png_structp png, png_const_charp message)
{
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(source->message, sizeof source->message, "%s", message);
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

struct PngSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource source{};

    explicit PngSession(std::span<const std::uint8_t> bytes)
    {
        source.bytes = bytes;
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, KeepError, IgnoreWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~PngSession() { png_destroy_read_struct(&png, &info, nullptr); }
    PngSession(const PngSession&) = delete;
    PngSession& operator=(const PngSession&) = delete;
};

struct PngLayout {
    std::uint32_t width;
    std::uint32_t height;
    int components;
    std::uint32_t storedBitsPerPixel;  // in the file, before any transformation
    bool interlaced;
};

// Reads the header and sets the transformations that give 8-bit RGB or RGBA.
bool ReadHeader(PngSession& session, PngLayout& layout)
{
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &session.source, ReadFromMemory);
    png_read_info(png, info);

    layout.storedBitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);
    layout.interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    const png_byte type = png_get_color_type(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (png_get_bit_depth(png, info) < 8) png_set_expand(png);
    if (transparency) png_set_tRNS_to_alpha(png);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    layout.width = png_get_image_width(png, info);
    layout.height = png_get_image_height(png, info);
    layout.components = png_get_channels(png, info);
    return png_get_bit_depth(png, info) == 8 && (layout.components == 3 || layout.components == 4) &&
           png_get_rowbytes(png, info) == static_cast<png_size_t>(layout.width) * layout.components;
}

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
}

// What the chunks of the file hold, from the signature to IEND or to the
// end of the file.
struct ChunkSummary {
    std::uint64_t idatBytes = 0;  // of image data present in the file
    // libpng reserves the claimed length of every chunk but IDAT (which it
    // streams) before reading it: one claiming more than the file holds is
    // refused before libpng sees it.
    bool somePastTheEnd = false;
};

ChunkSummary SummarizeChunks(std::span<const std::uint8_t> bytes)
{
    ChunkSummary summary;
    for (std::uint64_t at = 8; at + 8 <= bytes.size();) {
        const std::uint64_t length = BigEndian32(bytes, at);
        const std::string_view type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
        const std::uint64_t data = at + 8;
        if (type == "IDAT")
            summary.idatBytes += std::min<std::uint64_t>(length, bytes.size() - data);
        else if (data + length > bytes.size())
            summary.somePastTheEnd = true;
        if (type == "IEND") break;
        at = data + length + 4;  // and its CRC
    }
    return summary;
}

// A lower bound of the inflated bytes the image needs: its samples alone,
// without the filter byte of each row.
bool IdatCanHoldImage(const PngLayout& layout, std::uint64_t idatBytes)
{
    const std::uint64_t sampleBytes = std::uint64_t{layout.width} * layout.height * layout.storedBitsPerPixel / 8;
    return sampleBytes <= kMostInflatedPerByte * idatBytes;
}

enum class RowsRead { All, Failed, OutOfMemory };

// Rows of a file that is not interlaced, one at a time, each into the
// memory reached so far.
RowsRead ReadRowByRow(PngSession& session, GrowingPixels& pixels, std::uint32_t height)
{
    if (setjmp(png_jmpbuf(session.png))) return RowsRead::Failed;
    for (std::uint32_t y = 0; y < height; ++y) {
        if (!pixels.Reach(y + 1)) return RowsRead::OutOfMemory;
        png_read_row(session.png, pixels.Row(y), nullptr);
    }
    return RowsRead::All;
}

// The passes of an interlaced file each touch every row.
bool ReadInterlaced(PngSession& session, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(session.png))) return false;
    png_read_image(session.png, rows);
    return true;
}

RowsRead ReadRows(PngSession& session, GrowingPixels& pixels, const PngLayout& layout)
{
    if (!layout.interlaced) return ReadRowByRow(session, pixels, layout.height);
    std::vector<png_bytep> rows;
    try {
        rows.resize(layout.height);
    } catch (const std::bad_alloc&) {
        return RowsRead::OutOfMemory;
    }
    if (!pixels.Reach(layout.height)) return RowsRead::OutOfMemory;
    for (std::uint32_t y = 0; y < layout.height; ++y) rows[y] = pixels.Row(y);
    return ReadInterlaced(session, rows.data()) ? RowsRead::All : RowsRead::Failed;
}

std::uint32_t NearestPowerOfTwo(std::uint32_t side, std::uint32_t maxSide)
{
    std::uint32_t power = 1;
    while (power < side && power < maxSide) power <<= 1;
    // Between two powers, the nearer one; a tie goes up.
    if (power > side && power - side > side - power / 2) power /= 2;
    return power;
}

bool IsPowerOfTwo(std::uint32_t side) { return (side & (side - 1)) == 0; }

// Brings both sides to powers of two; false if GLU cannot.
bool ScaleToPowersOfTwo(TextureImage& image, std::uint32_t maxSide)
{
    const std::uint32_t width = NearestPowerOfTwo(image.width, maxSide);
    const std::uint32_t height = NearestPowerOfTwo(image.height, maxSide);
    if (width == image.width && height == image.height) return true;
    if (!platform::HasCurrentGlContext()) return false;
    std::vector<std::uint8_t> scaled;
    if (!ReserveBytes(scaled, *ImageBytes(width, height, image.components))) return false;
    const GLenum format = image.components == 4 ? GL_RGBA : GL_RGB;
    const PackedPixelStore packed;
    if (gluScaleImage(format, static_cast<GLint>(image.width), static_cast<GLint>(image.height), GL_UNSIGNED_BYTE,
                      image.pixels.data(), static_cast<GLint>(width), static_cast<GLint>(height), GL_UNSIGNED_BYTE,
                      scaled.data()) != 0)
        return false;
    image.width = width;
    image.height = height;
    image.pixels = std::move(scaled);
    return true;
}

}  // namespace

Decoded<TextureImage> DecodePng(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    // One message stands for every other failure of the PNG reader.
    const auto refuse = [&] { return Refuse(result, ReaderMessage(kPng, context.name, " n'existe pas")); };
    const auto incomplete = [&] { return Refuse(result, IncompleteMessage(kPng, context.name)); };

    PngSession session(bytes);
    if (!session.png || !session.info) return refuse();
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return refuse();
    const ChunkSummary chunks = SummarizeChunks(bytes);
    if (chunks.somePastTheEnd) return incomplete();
    PngLayout layout{};
    if (!ReadHeader(session, layout)) return session.source.endedEarly ? incomplete() : refuse();
    if (!SidesAccepted(layout.width, layout.height, context.maxSide)) return refuse();
    if (!IdatCanHoldImage(layout, chunks.idatBytes)) return incomplete();

    GrowingPixels pixels(std::size_t{layout.width} * layout.components, layout.height);
    switch (ReadRows(session, pixels, layout)) {
    case RowsRead::All: break;
    case RowsRead::OutOfMemory: return refuse();
    case RowsRead::Failed: {
        const bool endedEarly =
            session.source.endedEarly || std::string_view(session.source.message) == kNotEnoughImageData;
        return endedEarly ? incomplete() : refuse();
    }
    }
    TextureImage image;
    image.width = layout.width;
    image.height = layout.height;
    image.components = layout.components;
    image.pixels = pixels.Take();
    result.image = std::move(image);
    return result;
}

bool TakesAnyTextureSize() { return platform::HasGlExtension("GL_ARB_texture_non_power_of_two"); }

GLuint UploadPngImage(TextureImage& image, PngInfo& info, GLint wrap, GLint minFilter, GLint magFilter)
{
    const std::uint32_t maxSide = MaxTextureSide();
    if (!(IsPowerOfTwo(image.width) && IsPowerOfTwo(image.height)) && !TakesAnyTextureSize() &&
        !ScaleToPowersOfTwo(image, maxSide))
        return 0;

    info.width = image.width;
    info.height = image.height;
    info.depth = 8;
    info.alpha = image.components == 4 ? 8 : 0;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    {
        const PackedPixelStore packed;
        const GLenum format = image.components == 4 ? GL_RGBA : GL_RGB;
        glTexImage2D(GL_TEXTURE_2D, 0, image.components, static_cast<GLsizei>(image.width),
                     static_cast<GLsizei>(image.height), 0, format, GL_UNSIGNED_BYTE, image.pixels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    return name;
}

// Decoded here rather than inside the upload, so that the decoder's own
// refusal reaches the user.
HRESULT LoadTexture::Load_PNG(const TextureFile& file)
{
    // The file's bytes go with the temporary, before the upload.
    std::optional<TextureImage> image = ReadTextureFile(TextureFormat::Png, file, MaxTextureSide()).image;
    PngInfo info;
    const GLuint name = image ? UploadPngImage(*image, info, GL_REPEAT, GL_LINEAR, GL_LINEAR) : 0;
    // The object takes whatever came back, 0 included; a texture it held goes first.
    ReleaseTexture();
    textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    if (name == 0) {
        // A decoded image the context could not take reads as no file at all.
        if (image) ShowTextureMessages({ReaderMessage(kPng, file.name, " n'existe pas")});
        return E_FAIL;
    }
    facts_ = ImageFacts(TextureFormat::Png, *image);
    return S_OK;
}

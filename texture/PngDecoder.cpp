// PNG files through libpng. libpng leaves a failing call by a jump to the
// point set with setjmp; the stages below that set it hold no object with a
// destructor, so the jump skips nothing that needs undoing.
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"
#include "texture/ReaderMessages.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr ReaderWording kPng{"Ce fichier: ", "Load_PNG", ". ", kErrorCaption};

struct PngSource {
    std::span<const std::uint8_t> bytes;
    std::size_t position;
    char message[256];
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t length)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->position < length) png_error(png, "fin de fichier prématurée");
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
};

// Reads the header and sets the transformations that give 8-bit RGB or RGBA.
bool ReadHeader(PngSession& session, PngLayout& layout)
{
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &session.source, ReadFromMemory);
    png_read_info(png, info);

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

bool ReadRows(PngSession& session, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(session.png))) return false;
    png_read_image(session.png, rows);
    return true;
}

}  // namespace

Decoded<TextureImage> DecodePng(std::span<const std::uint8_t> bytes, const DecodeContext& context)
{
    Decoded<TextureImage> result;
    const auto refuse = [&] {
        // One message stands for every failure of the PNG reader.
        result.messages.push_back(ReaderMessage(kPng, context.name, " n'existe pas"));
        return result;
    };

    PngSession session(bytes);
    if (!session.png || !session.info) return refuse();
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return refuse();
    PngLayout layout{};
    if (!ReadHeader(session, layout)) return refuse();
    if (!SidesAccepted(layout.width, layout.height, context.maxSide)) return refuse();

    TextureImage image;
    image.width = layout.width;
    image.height = layout.height;
    image.components = layout.components;
    const std::size_t rowBytes = static_cast<std::size_t>(layout.width) * layout.components;
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> pixels;
    if (!ReserveBytes(pixels, *ImageBytes(layout.width, layout.height, layout.components))) return refuse();
    try {
        rows.resize(layout.height);
    } catch (const std::bad_alloc&) {
        return refuse();
    }
    for (std::uint32_t y = 0; y < layout.height; ++y) rows[y] = pixels.data() + y * rowBytes;
    if (!ReadRows(session, rows.data())) return refuse();
    image.pixels = std::move(pixels);
    result.image = std::move(image);
    return result;
}

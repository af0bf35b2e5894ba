#include "TestImages.h"

#include "platform/GlEntryPoints.h"

#include <GL/glext.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <map>
#include <stdexcept>

namespace test_images {

namespace {

void PutLittle16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutLittle32(std::string& out, std::uint32_t value)
{
    PutLittle16(out, value & 0xFFFF);
    PutLittle16(out, value >> 16);
}

void SetLittle32(std::string& out, std::size_t at, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k) out[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

}  // namespace

Picture Stripes(std::uint32_t width, std::uint32_t height, int components)
{
    Picture picture{width, height, components, std::vector<std::uint8_t>(std::size_t(width) * height * components)};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = picture.At(x, y);
            p[0] = static_cast<std::uint8_t>(y * 40 % 256);
            p[1] = static_cast<std::uint8_t>(255 - y * 40 % 256);
            p[2] = static_cast<std::uint8_t>((y * 7 + x) % 256);
            if (components == 4) p[3] = static_cast<std::uint8_t>(255 - y);
        }
    return picture;
}

Picture Blocks(std::uint32_t width, std::uint32_t height)
{
    static const std::uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    Picture picture{width, height, 3, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) std::memcpy(picture.At(x, y), colours[(x / 8 + 2 * (y / 8)) % 4], 3);
    return picture;
}

Picture Noise(std::uint32_t width, std::uint32_t height, int components)
{
    Picture picture{width, height, components, std::vector<std::uint8_t>(std::size_t(width) * height * components)};
    std::uint32_t state = 12345;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            std::uint8_t* p = picture.At(x, y);
            // Smooth gradients plus a little noise: compresses like a photograph.
            p[0] = static_cast<std::uint8_t>(x / 8 + (state >> 29));
            p[1] = static_cast<std::uint8_t>(y / 8 + (state >> 28 & 3));
            p[2] = static_cast<std::uint8_t>((x + y) / 16);
            if (components == 4) p[3] = static_cast<std::uint8_t>(255 - x / 16);
        }
    return picture;
}

std::string PpmP6(const Picture& picture, const std::string& header)
{
    std::string out = header.empty() ? "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) +
                                           "\n255\n"
                                     : header;
    out.append(reinterpret_cast<const char*>(picture.pixels.data()), picture.pixels.size());
    return out;
}

std::string PpmP3(const Picture& picture)
{
    std::string out = "P3\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        out += std::to_string(picture.pixels[i]) + ((i + 1) % 12 == 0 ? "\n" : " ");
    return out;
}

std::string Tga(const Picture& picture, bool topRowFirst, std::uint8_t idLength)
{
    std::string out;
    out += static_cast<char>(idLength);
    out += '\0';  // no colour map
    out += '\2';  // uncompressed true colour
    out.append(5, '\0');
    PutLittle16(out, 0);
    PutLittle16(out, 0);
    PutLittle16(out, picture.width);
    PutLittle16(out, picture.height);
    out += static_cast<char>(picture.components * 8);
    out += static_cast<char>((topRowFirst ? 0x20 : 0) | (picture.components == 4 ? 8 : 0));
    for (int i = 0; i < idLength; ++i) out += static_cast<char>('A' + i % 26);
    for (std::uint32_t row = 0; row < picture.height; ++row) {
        const std::uint32_t y = topRowFirst ? row : picture.height - 1 - row;
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = const_cast<Picture&>(picture).At(x, y);
            out += static_cast<char>(p[2]);
            out += static_cast<char>(p[1]);
            out += static_cast<char>(p[0]);
            if (picture.components == 4) out += static_cast<char>(p[3]);
        }
    }
    return out;
}

namespace {
std::string BmpHeaders(std::uint32_t width, std::int32_t height, int bits, std::uint32_t compression,
                       std::uint32_t paletteSize, std::uint32_t dataSize)
{
    const std::uint32_t offset = 14 + 40 + paletteSize * 4;
    std::string out = "BM";
    PutLittle32(out, offset + dataSize);
    PutLittle32(out, 0);
    PutLittle32(out, offset);
    PutLittle32(out, 40);
    PutLittle32(out, width);
    PutLittle32(out, static_cast<std::uint32_t>(height));
    PutLittle16(out, 1);
    PutLittle16(out, bits);
    PutLittle32(out, compression);
    PutLittle32(out, dataSize);
    PutLittle32(out, 2835);
    PutLittle32(out, 2835);
    PutLittle32(out, paletteSize);
    PutLittle32(out, 0);
    return out;
}
}  // namespace

std::string Bmp24(const Picture& picture, bool topDown)
{
    const std::uint32_t stride = (picture.width * 3 + 3) & ~3u;
    const std::int32_t height = topDown ? -static_cast<std::int32_t>(picture.height) : static_cast<std::int32_t>(picture.height);
    std::string out = BmpHeaders(picture.width, height, 24, 0, 0, stride * picture.height);
    for (std::uint32_t row = 0; row < picture.height; ++row) {
        const std::uint32_t y = topDown ? row : picture.height - 1 - row;
        std::string line;
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = const_cast<Picture&>(picture).At(x, y);
            line += static_cast<char>(p[2]);
            line += static_cast<char>(p[1]);
            line += static_cast<char>(p[0]);
        }
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}

std::string Bmp8(const Picture& picture, bool runLength)
{
    std::map<std::uint32_t, std::uint8_t> indices;
    std::string palette;
    std::vector<std::uint8_t> indexed;
    for (std::uint32_t y = 0; y < picture.height; ++y)
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = const_cast<Picture&>(picture).At(x, y);
            const std::uint32_t key = p[0] << 16 | p[1] << 8 | p[2];
            auto [it, added] = indices.emplace(key, static_cast<std::uint8_t>(indices.size()));
            if (added) {
                if (indices.size() > 256) throw std::runtime_error("too many colours");
                palette += static_cast<char>(p[2]);
                palette += static_cast<char>(p[1]);
                palette += static_cast<char>(p[0]);
                palette += '\0';
            }
            indexed.push_back(it->second);
        }
    std::string data;
    for (std::uint32_t row = 0; row < picture.height; ++row) {
        const std::uint32_t y = picture.height - 1 - row;
        const std::uint8_t* line = indexed.data() + y * picture.width;
        if (runLength) {
            for (std::uint32_t x = 0; x < picture.width;) {
                std::uint32_t run = 1;
                while (x + run < picture.width && run < 255 && line[x + run] == line[x]) ++run;
                data += static_cast<char>(run);
                data += static_cast<char>(line[x]);
                x += run;
            }
            data += std::string("\0\0", 2);  // end of line
        } else {
            std::string bytes(reinterpret_cast<const char*>(line), picture.width);
            bytes.resize((picture.width + 3) & ~3u, '\0');
            data += bytes;
        }
    }
    if (runLength) data += std::string("\0\1", 2);  // end of bitmap
    return BmpHeaders(picture.width, static_cast<std::int32_t>(picture.height), 8, runLength ? 1 : 0,
                      static_cast<std::uint32_t>(indices.size()), static_cast<std::uint32_t>(data.size())) +
           palette + data;
}

namespace {
void AppendToString(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}
}  // namespace

std::string Png(const Picture& picture, PngKind kind)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png encoding failed");
    }
    png_set_write_fn(png, &out, AppendToString, NoFlush);
    const std::uint32_t w = picture.width, h = picture.height;
    std::vector<std::uint8_t> rows;  // the samples in the file's own layout
    int colourType = PNG_COLOR_TYPE_RGB, depth = 8, rowBytes = 0;
    const auto source = [&](std::uint32_t x, std::uint32_t y) { return const_cast<Picture&>(picture).At(x, y); };
    switch (kind) {
    case PngKind::Rgb:
    case PngKind::Interlaced:
        rowBytes = w * 3;
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x) rows.insert(rows.end(), source(x, y), source(x, y) + 3);
        break;
    case PngKind::Rgba:
        colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        rowBytes = w * 4;
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x) {
                rows.insert(rows.end(), source(x, y), source(x, y) + 3);
                rows.push_back(picture.components == 4 ? source(x, y)[3] : 255);
            }
        break;
    case PngKind::Rgb16:
        depth = 16;
        rowBytes = w * 6;
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c) {
                    rows.push_back(source(x, y)[c]);
                    rows.push_back(0x7F);  // low byte, dropped on reading
                }
        break;
    case PngKind::Grey:
    case PngKind::GreyAlpha:
        colourType = kind == PngKind::Grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_GRAY_ALPHA;
        rowBytes = w * (kind == PngKind::Grey ? 1 : 2);
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x) {
                rows.push_back(source(x, y)[0]);
                if (kind == PngKind::GreyAlpha) rows.push_back(picture.components == 4 ? source(x, y)[3] : 255);
            }
        break;
    case PngKind::Palette:
    case PngKind::PaletteWithTransparency: {
        colourType = PNG_COLOR_TYPE_PALETTE;
        rowBytes = w;
        std::vector<png_color> palette;
        std::map<std::uint32_t, std::uint8_t> indices;
        for (std::uint32_t y = 0; y < h; ++y)
            for (std::uint32_t x = 0; x < w; ++x) {
                const std::uint8_t* p = source(x, y);
                const std::uint32_t key = p[0] << 16 | p[1] << 8 | p[2];
                auto [it, added] = indices.emplace(key, static_cast<std::uint8_t>(palette.size()));
                if (added) palette.push_back({p[0], p[1], p[2]});
                rows.push_back(it->second);
            }
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
        if (kind == PngKind::PaletteWithTransparency) {
            // The first palette entry is see-through, the others opaque.
            png_byte alpha[1] = {0};
            png_set_tRNS(png, info, alpha, 1, nullptr);
        }
        break;
    }
    }
    png_set_IHDR(png, info, w, h, depth, colourType,
                 kind == PngKind::Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    std::vector<png_bytep> pointers(h);
    for (std::uint32_t y = 0; y < h; ++y) pointers[y] = rows.data() + std::size_t(y) * rowBytes;
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string Jpeg(const Picture& picture, JpegKind kind, int quality, bool subsample)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = picture.width;
    info.image_height = picture.height;
    info.input_components = kind == JpegKind::Grey ? 1 : kind == JpegKind::Cmyk ? 4 : 3;
    info.in_color_space = kind == JpegKind::Grey ? JCS_GRAYSCALE : kind == JpegKind::Cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (!subsample && kind != JpegKind::Grey) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (kind == JpegKind::Progressive) jpeg_simple_progression(&info);
    info.arith_code = kind == JpegKind::Arithmetic;
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(std::size_t(picture.width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        const std::uint32_t y = info.next_scanline;
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = const_cast<Picture&>(picture).At(x, y);
            if (kind == JpegKind::Grey) {
                row[x] = p[0];
            } else if (kind == JpegKind::Cmyk) {
                row[x * 4 + 0] = 255 - p[0];
                row[x * 4 + 1] = 255 - p[1];
                row[x * 4 + 2] = 255 - p[2];
                row[x * 4 + 3] = 0;
            } else {
                std::memcpy(&row[x * 3], p, 3);
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

namespace {

void PutBig16(std::string& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<char>((value >> 8) & 0xFF);
    out[at + 1] = static_cast<char>(value & 0xFF);
}

void PutBig32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// Where the first marker segment `code` starts, segments walked from the
// start of the file up to the first scan; npos if there is none.
std::size_t FindJpegSegment(const std::string& jpeg, std::uint8_t code)
{
    for (std::size_t at = 2; at + 4 <= jpeg.size();) {
        const auto marker = static_cast<std::uint8_t>(jpeg[at + 1]);
        if (marker == code) return at;
        if (marker == 0xDA) break;
        at += 2 + (static_cast<std::uint8_t>(jpeg[at + 2]) << 8 | static_cast<std::uint8_t>(jpeg[at + 3]));
    }
    return std::string::npos;
}

void PutPngChunk(std::string& out, const char* type, const std::string& data)
{
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBig32(out, static_cast<std::uint32_t>(
                      crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

}  // namespace

std::string JpegClaiming(std::string jpeg, std::uint16_t width, std::uint16_t height)
{
    std::size_t frame = std::string::npos;
    for (const std::uint8_t code : {0xC0, 0xC1, 0xC2}) frame = std::min(frame, FindJpegSegment(jpeg, code));
    if (frame == std::string::npos) throw std::runtime_error("no JPEG frame header");
    PutBig16(jpeg, frame + 5, height);
    PutBig16(jpeg, frame + 7, width);
    return jpeg;
}

std::string JpegCutInScan(const std::string& jpeg, std::size_t kept, bool endMarker)
{
    const std::size_t scan = FindJpegSegment(jpeg, 0xDA);
    if (scan == std::string::npos) throw std::runtime_error("no JPEG scan");
    const std::size_t headerLength = static_cast<std::uint8_t>(jpeg[scan + 2]) << 8 | static_cast<std::uint8_t>(jpeg[scan + 3]);
    const std::size_t data = scan + 2 + headerLength;
    return jpeg.substr(0, data + kept) + (endMarker ? std::string("\xFF\xD9") : std::string());
}

std::string PngClaiming(std::uint32_t width, std::uint32_t height, std::size_t inflated)
{
    std::string header;
    PutBig32(header, width);
    PutBig32(header, height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, not interlaced
    const std::string zeros(inflated, '\0');
    std::string deflated(compressBound(static_cast<uLong>(inflated)), '\0');
    uLongf size = static_cast<uLongf>(deflated.size());
    compress2(reinterpret_cast<Bytef*>(deflated.data()), &size, reinterpret_cast<const Bytef*>(zeros.data()),
              static_cast<uLong>(zeros.size()), 9);
    deflated.resize(size);
    std::string out = "\x89PNG\r\n\x1A\n";
    PutPngChunk(out, "IHDR", header);
    PutPngChunk(out, "IDAT", deflated);
    PutPngChunk(out, "IEND", "");
    return out;
}

std::string BmpClaiming(std::string bmp, std::uint32_t width, std::uint32_t height)
{
    for (int k = 0; k < 4; ++k) {
        bmp[18 + k] = static_cast<char>((width >> (8 * k)) & 0xFF);
        bmp[22 + k] = static_cast<char>((height >> (8 * k)) & 0xFF);
    }
    return bmp;
}

std::string Dds(const char* fourCC, std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                std::uint32_t linearSize, const std::string& data)
{
    std::string out = "DDS ";
    PutLittle32(out, 124);
    PutLittle32(out, 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000 | (mipmapCount > 1 ? 0x20000 : 0));
    PutLittle32(out, height);
    PutLittle32(out, width);
    PutLittle32(out, linearSize);
    PutLittle32(out, 0);
    PutLittle32(out, mipmapCount);
    out.append(44, '\0');
    PutLittle32(out, 32);
    PutLittle32(out, 0x4);  // four-character code present
    out.append(fourCC, 4);
    out.append(20, '\0');
    PutLittle32(out, 0x1000 | (mipmapCount > 1 ? 0x400008 : 0));
    out.append(12, '\0');
    PutLittle32(out, 0);
    return out + data;
}

std::string DxtData(std::size_t size, std::uint8_t seed)
{
    std::string out(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : out) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return out;
}

std::string Dds(const DdsPixelFormat& format, std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                const std::string& data, std::uint32_t caps2, std::uint32_t depth)
{
    std::string out = Dds("\0\0\0\0", width, height, mipmapCount, width * format.bitCount / 8, "");
    SetLittle32(out, 24, depth);
    SetLittle32(out, 80, format.flags);
    SetLittle32(out, 88, format.bitCount);
    for (int k = 0; k < 4; ++k) SetLittle32(out, 92 + 4 * k, format.masks[k]);
    SetLittle32(out, 112, caps2);
    return out + data;
}

std::string Dds10(std::uint32_t dxgiFormat, std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                  const std::string& data, std::uint32_t dimension, std::uint32_t miscFlag, std::uint32_t depth)
{
    std::string out = Dds("DX10", width, height, mipmapCount, 1, "");  // any linear size but 0
    SetLittle32(out, 24, depth);
    for (const std::uint32_t field : {dxgiFormat, dimension, miscFlag, 1u, 0u}) PutLittle32(out, field);
    return out + data;
}

LevelInfo Level(GLint level)
{
    LevelInfo info;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &info.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &info.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_INTERNAL_FORMAT, &info.internalFormat);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_COMPRESSED, &info.compressed);
    if (info.compressed)
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &info.compressedSize);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_ALPHA_SIZE, &info.alphaSize);
    return info;
}

GLint LevelCount()
{
    GLint count = 0;
    while (count < 20 && Level(count).width > 0) ++count;
    return count;
}

GLint Parameter(GLenum name)
{
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

std::vector<std::uint8_t> Pixels(GLint level, GLenum format)
{
    const LevelInfo info = Level(level);
    const int components = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE_ALPHA ? 2 : 1;
    std::vector<std::uint8_t> pixels(std::size_t(info.width) * info.height * components);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::string CompressedBytes(GLint level)
{
    const LevelInfo info = Level(level);
    std::string bytes(static_cast<std::size_t>(info.compressedSize), '\0');
    const auto getCompressed =
        reinterpret_cast<PFNGLGETCOMPRESSEDTEXIMAGEPROC>(platform::GetGlProcAddress("glGetCompressedTexImage"));
    if (getCompressed) getCompressed(GL_TEXTURE_2D, level, bytes.data());
    return bytes;
}

}  // namespace test_images

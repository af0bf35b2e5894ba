#include "LargeImageFiles.h"

#include <algorithm>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <png.h>
#include <vector>

namespace large_images {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Row y of the picture as R, G, B bytes.
void MakeRow(std::uint32_t y, std::uint32_t width, std::vector<std::uint8_t>& row)
{
    row.resize(std::size_t(width) * 3);
    std::uint32_t state = y * 2654435761u + 1;
    for (std::uint32_t x = 0; x < width; ++x) {
        state = state * 1664525u + 1013904223u;
        row[x * 3 + 0] = static_cast<std::uint8_t>(x / 64 + (state >> 30));
        row[x * 3 + 1] = static_cast<std::uint8_t>(y / 64 + (state >> 29 & 1));
        row[x * 3 + 2] = static_cast<std::uint8_t>((x + y) / 128);
    }
}

void PutLittle(std::FILE* file, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

}  // namespace

bool WriteBmp(const std::string& path, std::uint32_t width, std::uint32_t height)
{
    const File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t dataSize = stride * height;
    std::fputs("BM", file.get());
    PutLittle(file.get(), 54 + dataSize, 4);
    PutLittle(file.get(), 0, 4);
    PutLittle(file.get(), 54, 4);
    for (const std::uint32_t field : {40u, width, height}) PutLittle(file.get(), field, 4);
    PutLittle(file.get(), 1, 2);
    PutLittle(file.get(), 24, 2);
    for (const std::uint32_t field : {0u, dataSize, 2835u, 2835u, 0u, 0u}) PutLittle(file.get(), field, 4);
    std::vector<std::uint8_t> row;
    std::vector<std::uint8_t> stored(stride, 0);
    for (std::uint32_t line = 0; line < height; ++line) {
        MakeRow(height - 1 - line, width, row);
        for (std::uint32_t x = 0; x < width; ++x) {
            stored[x * 3 + 0] = row[x * 3 + 2];
            stored[x * 3 + 1] = row[x * 3 + 1];
            stored[x * 3 + 2] = row[x * 3 + 0];
        }
        std::fwrite(stored.data(), 1, stored.size(), file.get());
    }
    return std::ferror(file.get()) == 0;
}

bool WriteRunLengthBmp(const std::string& path, std::uint32_t width, std::uint32_t height)
{
    std::vector<std::uint8_t> data;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; x += 255) {
            data.push_back(static_cast<std::uint8_t>(std::min<std::uint32_t>(255, width - x)));
            data.push_back(static_cast<std::uint8_t>(x / 255 + y / 64));  // a palette index
        }
        data.insert(data.end(), {0, 0});  // end of line
    }
    data.insert(data.end(), {0, 1});  // end of bitmap
    const File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    constexpr std::uint32_t kPaletteBytes = 256 * 4;
    const auto dataSize = static_cast<std::uint32_t>(data.size());
    std::fputs("BM", file.get());
    PutLittle(file.get(), 54 + kPaletteBytes + dataSize, 4);
    PutLittle(file.get(), 0, 4);
    PutLittle(file.get(), 54 + kPaletteBytes, 4);
    for (const std::uint32_t field : {40u, width, height}) PutLittle(file.get(), field, 4);
    PutLittle(file.get(), 1, 2);
    PutLittle(file.get(), 8, 2);
    for (const std::uint32_t field : {1u, dataSize, 2835u, 2835u, 256u, 0u}) PutLittle(file.get(), field, 4);
    for (std::uint32_t i = 0; i < 256; ++i) PutLittle(file.get(), i * 0x010305u & 0xFFFFFF, 4);
    std::fwrite(data.data(), 1, data.size(), file.get());
    return std::ferror(file.get()) == 0;
}

bool WriteJpeg(const std::string& path, std::uint32_t width, std::uint32_t height, int quality)
{
    const File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // a failure here ends the benchmark, which is what it should do
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row;
    while (info.next_scanline < info.image_height) {
        MakeRow(info.next_scanline, width, row);
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::ferror(file.get()) == 0;
}

namespace {

// The part of WritePng that libpng may leave by a jump: it holds no object
// with a destructor.
bool WritePngRows(png_structp png, png_infop info, std::FILE* file, std::uint32_t width, std::uint32_t height,
                  std::vector<std::uint8_t>& row)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < height; ++y) {
        MakeRow(y, width, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, std::uint32_t width, std::uint32_t height)
{
    const File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<std::uint8_t> row;
    const bool written = info && WritePngRows(png, info, file.get(), width, height, row);
    png_destroy_write_struct(&png, &info);
    return written && std::ferror(file.get()) == 0;
}

}  // namespace large_images

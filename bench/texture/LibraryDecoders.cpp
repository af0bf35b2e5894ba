#include "LibraryDecoders.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {
struct JpegErrors {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
};
[[noreturn]] void Jump(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
}  // namespace

bool DecodeWithLibjpeg(const std::string& path, std::vector<std::uint8_t>& pixels)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = Jump;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = std::size_t(info.output_width) * info.output_components;
    pixels.resize(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[4];
        for (int i = 0; i < 4; ++i)
            rows[i] = pixels.data() + std::min<std::size_t>(info.output_scanline + i, info.output_height - 1) * rowBytes;
        jpeg_read_scanlines(&info, rows, 4);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return true;
}

bool DecodeWithLibpng(const std::string& path, std::vector<std::uint8_t>& pixels)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const std::uint32_t height = png_get_image_height(png, info);
    pixels.resize(rowBytes * height);
    rows.resize(height);
    for (std::uint32_t y = 0; y < height; ++y) rows[y] = pixels.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

bool DecodeWithGdkPixbuf(const std::string& path)
{
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
    if (pixbuf == nullptr) return false;
    g_object_unref(pixbuf);
    return true;
}

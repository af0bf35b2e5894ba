// The same files decoded by the libraries alone, written the way their
// manuals show: the reference our readers are measured against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RGB samples of a colour JPEG, read through jpeg_stdio_src.
bool DecodeWithLibjpeg(const std::string& path, std::vector<std::uint8_t>& pixels);
// 8-bit RGB or RGBA samples of a PNG, read through png_init_io.
bool DecodeWithLibpng(const std::string& path, std::vector<std::uint8_t>& pixels);
// A bitmap read by GdkPixbuf on its own, keeping nothing.
bool DecodeWithGdkPixbuf(const std::string& path);

// Windows bitmaps (.bmp) decoded by the desktop's bitmap loader, every
// variant it reads: 1 to 32 bits per pixel, run-length encoded, top-down.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

enum class BitmapStatus {
    Loaded,
    Unreadable,   // not a bitmap the loader reads
    BadSize,      // a side is 0 or larger than allowed; nothing was allocated
    Incomplete,   // the file, or its data, ends before its last row
    OutOfMemory,
};

struct DecodedBitmap {
    BitmapStatus status = BitmapStatus::Unreadable;
    std::uint32_t width = 0;  // as the file gives them, also when refused for its size
    std::uint32_t height = 0;
    // 8-bit R, G, B per pixel, rows packed, top row first, alpha dropped:
    // width x height x 3 bytes. Often the loader's own memory, kept alive by this pointer.
    std::shared_ptr<const std::uint8_t> rgb;
    std::size_t size = 0;
};

// Decodes the bytes of a BMP file. Files whose width or height exceeds
// `maxSide` are refused before any pixel memory is reserved, and so are files
// whose data cannot hold their image: uncompressed rows beyond the end of the
// file, run-length data that ends before it covers the last row (by an end of
// line, a jump or an end of bitmap) or leaves more than half the rows blank.
DecodedBitmap DecodeBitmap(std::span<const std::uint8_t> bytes, std::uint32_t maxSide);
// The same, reading the file piece by piece; Unreadable when it cannot be opened.
DecodedBitmap DecodeBitmapFile(const std::string& path, std::uint32_t maxSide);

}  // namespace platform

// Writers for images too large to hold twice in memory: each row is made and
// written on its own. The picture is a smooth gradient with a little noise,
// which compresses about as well as a photograph.
#pragma once

#include <cstdint>
#include <string>

namespace large_images {

// 24-bit bottom-up bitmap. False when the file cannot be written.
bool WriteBmp(const std::string& path, std::uint32_t width, std::uint32_t height);
// 8-bit run-length bitmap of flat runs of 255 pixels, which the desktop
// loader reads into RGBA: its costliest kind.
bool WriteRunLengthBmp(const std::string& path, std::uint32_t width, std::uint32_t height);
// Colour JPEG of the given quality, chroma subsampled 4:2:0 as cameras write.
bool WriteJpeg(const std::string& path, std::uint32_t width, std::uint32_t height, int quality);
// 8-bit RGB PNG, fastest compression.
bool WritePng(const std::string& path, std::uint32_t width, std::uint32_t height);

}  // namespace large_images

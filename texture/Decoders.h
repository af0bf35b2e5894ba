// The decoding half of every texture reader: file bytes in, a decoded image
// (or compressed levels) out, or a refusal with the reader's own message.
// Nothing here touches OpenGL, so each decoder can be driven on its own.
#pragma once

#include "texture/TextureMessages.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The bytes of a decoded image: a vector of our own, or memory that a
// decoding library filled and keeps alive through the shared pointer, so
// that a large image is not copied only to be uploaded.
class PixelBytes {
public:
    PixelBytes() = default;
    PixelBytes(std::vector<std::uint8_t> bytes) : own_(std::move(bytes)) {}
    PixelBytes(std::shared_ptr<const std::uint8_t> shared, std::size_t size) : shared_(std::move(shared)), sharedSize_(size) {}

    const std::uint8_t* data() const { return shared_ ? shared_.get() : own_.data(); }
    std::size_t size() const { return shared_ ? sharedSize_ : own_.size(); }
    std::span<const std::uint8_t> bytes() const { return {data(), size()}; }
    const std::uint8_t& operator[](std::size_t index) const { return data()[index]; }
    bool operator==(const std::vector<std::uint8_t>& other) const { return std::ranges::equal(bytes(), other); }

private:
    std::vector<std::uint8_t> own_;
    std::shared_ptr<const std::uint8_t> shared_;
    std::size_t sharedSize_ = 0;
};

// A decoded image on its way to the upload: 8-bit samples, rows packed with
// no padding, top row first.
struct TextureImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3;  // 3: RGB, 4: RGBA
    PixelBytes pixels;
};

// What a decoder needs beyond the bytes.
struct DecodeContext {
    std::string name;          // the file as the model names it, for messages
    std::uint32_t maxSide = 0; // the largest width or height accepted
};

// A decoder's outcome: the image when it could be read, and the messages to
// show in order (a refusal, or a warning after which reading went on).
template <typename Image>
struct Decoded {
    std::optional<Image> image;
    std::vector<TextureMessage> messages;
};

Decoded<TextureImage> DecodePpm(std::span<const std::uint8_t> bytes, const DecodeContext& context);
Decoded<TextureImage> DecodeTga(std::span<const std::uint8_t> bytes, const DecodeContext& context);
Decoded<TextureImage> DecodeBmp(std::span<const std::uint8_t> bytes, const DecodeContext& context);
// The same, reading the file piece by piece as the loader goes (a missing
// file reads as no bitmap).
Decoded<TextureImage> DecodeBmpFile(const std::string& path, const DecodeContext& context);
Decoded<TextureImage> DecodeJpeg(std::span<const std::uint8_t> bytes, const DecodeContext& context);
// RGB for files without alpha, RGBA with it (palette and grey expanded, tRNS
// read as alpha, 16-bit samples cut to 8); no gamma correction.
Decoded<TextureImage> DecodePng(std::span<const std::uint8_t> bytes, const DecodeContext& context);

// One level of a DDS image, inside DdsImage::data.
struct DdsLevel {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// The first surface of a DDS file (the first face of a cube map, the first
// slice of a volume): only the levels whose bytes are all present, level 0
// first. DXT1, DXT3 and DXT5 blocks stay as stored; uncompressed layouts are
// converted to 8-bit samples, rows packed, top row first.
struct DdsImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // 3 for DXT1, 4 for DXT3 and DXT5; samples per pixel when uncompressed
    std::int32_t components = 0;
    // A GL_COMPRESSED_RGBA_S3TC_DXT* format, or the internal format of the
    // converted samples (GL_RGBA8, GL_RGB8, GL_LUMINANCE8_ALPHA8, GL_LUMINANCE8, GL_ALPHA8)
    GLenum format = 0;
    // 0 for compressed levels, else the layout of the samples (GL_RGBA, GL_RGB, ...)
    GLenum pixelFormat = 0;
    std::uint32_t mipmapCount = 0;  // as the header gives it
    std::vector<DdsLevel> levels;
    std::vector<std::uint8_t> data;
};

constexpr std::size_t kDdsHeaderBytes = 128;  // magic and header, before the data
constexpr std::size_t kDdsDx10HeaderBytes = 20;  // the extended header of "DX10" files, after kDdsHeaderBytes

// How many bytes after the first kDdsHeaderBytes the levels of this DDS need
// (for "DX10" files, the extended header and the levels), or nothing when
// the header is not usable or, for "DX10" files, cut short.
std::optional<std::uint64_t> DdsDataBytesNeeded(std::span<const std::uint8_t> header, std::uint32_t maxSide);

Decoded<DdsImage> DecodeDds(std::span<const std::uint8_t> bytes, const DecodeContext& context);

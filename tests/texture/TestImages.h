// Image files made in the tests: each format written from a small picture,
// and the texture read back from OpenGL.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test_images {

// 8-bit samples, 3 or 4 per pixel, rows packed, top row first.
struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3;
    std::vector<std::uint8_t> pixels;

    std::uint8_t* At(std::uint32_t x, std::uint32_t y) { return pixels.data() + (y * width + x) * components; }
};

// Each row a colour of its own from the top, so orientation shows:
// row y = (y*40 % 256, 255 - y*40 % 256, y*7 % 256), alpha 255 - y.
Picture Stripes(std::uint32_t width, std::uint32_t height, int components = 3);
// Blocks of 8x8 in a few flat colours, which JPEG keeps nearly intact.
Picture Blocks(std::uint32_t width, std::uint32_t height);
// Noise-like content with a fixed seed, for benchmarks.
Picture Noise(std::uint32_t width, std::uint32_t height, int components);

std::string PpmP6(const Picture& picture, const std::string& header = "");
std::string PpmP3(const Picture& picture);
// Uncompressed true-colour TGA of picture.components * 8 bits.
std::string Tga(const Picture& picture, bool topRowFirst, std::uint8_t idLength = 0);
// 24-bit bitmap, bottom-up unless topDown (negative height).
std::string Bmp24(const Picture& picture, bool topDown = false);
// 8-bit palette bitmap of up to 256 colours, run-length encoded or not.
std::string Bmp8(const Picture& picture, bool runLength);

enum class PngKind { Rgb, Rgba, Palette, PaletteWithTransparency, Grey, GreyAlpha, Rgb16, Interlaced };
std::string Png(const Picture& picture, PngKind kind);

enum class JpegKind { Colour, Grey, Cmyk, Progressive, Arithmetic };
// Colour without chroma subsampling unless `subsample` (4:2:0, as cameras write).
std::string Jpeg(const Picture& picture, JpegKind kind, int quality = 100, bool subsample = false);

// --- Files whose data ends before their image does ---
// The JPEG with its frame header claiming another size.
std::string JpegClaiming(std::string jpeg, std::uint16_t width, std::uint16_t height);
// The JPEG cut `kept` bytes into the data of its first scan, an end-of-image
// marker after the cut or not.
std::string JpegCutInScan(const std::string& jpeg, std::size_t kept, bool endMarker);
// A PNG whose header claims width x height, 8-bit RGB, and whose one IDAT
// chunk inflates to `inflated` zero bytes, then IEND.
std::string PngClaiming(std::uint32_t width, std::uint32_t height, std::size_t inflated);
// The bitmap with its info header claiming another size.
std::string BmpClaiming(std::string bmp, std::uint32_t width, std::uint32_t height);

// A DDS header and data; block data is `blocks` as given.
std::string Dds(const char* fourCC, std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                std::uint32_t linearSize, const std::string& data);
// Bytes of one DXT level (deterministic), `size` long.
std::string DxtData(std::size_t size, std::uint8_t seed);
// The pixel format of an uncompressed DDS file: DDS_PIXELFORMAT's flags, bits
// per pixel and red (or luminance), green, blue and alpha masks.
struct DdsPixelFormat {
    std::uint32_t flags = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t masks[4] = {};
};
// An uncompressed DDS file; `caps2` and `depth` make cube maps and volumes.
std::string Dds(const DdsPixelFormat& format, std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                const std::string& data, std::uint32_t caps2 = 0, std::uint32_t depth = 0);
// A "DX10" file: the DXT header with that FourCC, the extended header, the
// data; `dimension` 4 and `depth` make a volume, `miscFlag` 4 a cube map.
std::string Dds10(std::uint32_t dxgiFormat, std::uint32_t width, std::uint32_t height, std::uint32_t mipmapCount,
                  const std::string& data, std::uint32_t dimension = 3, std::uint32_t miscFlag = 0,
                  std::uint32_t depth = 0);

// --- Reading textures back (the texture bound to GL_TEXTURE_2D) ---
struct LevelInfo {
    GLint width = 0;
    GLint height = 0;
    GLint internalFormat = 0;
    GLint compressed = 0;
    GLint compressedSize = 0;
    GLint alphaSize = 0;
};
LevelInfo Level(GLint level);
GLint LevelCount();
GLint Parameter(GLenum name);
// GL_RGBA, GL_RGB, GL_LUMINANCE_ALPHA, GL_LUMINANCE or GL_ALPHA samples.
std::vector<std::uint8_t> Pixels(GLint level, GLenum format);
std::string CompressedBytes(GLint level);

}  // namespace test_images

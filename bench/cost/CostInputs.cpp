#include "CostInputs.h"

#include "TestImages.h"

#include <cstdint>
#include <zlib.h>

namespace cost_inputs {

namespace {

const char* const kFirstLine = "xof 0303txt 0032\n";

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = type + data;
    png += body;
    PutBigEndian(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                       static_cast<uInt>(body.size()))));
}

}  // namespace

std::string ManyMeshes(int count)
{
    std::string text = kFirstLine;
    for (int k = 0; k < count; ++k)
        text += "Mesh m" + std::to_string(k) + " {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n}\n";
    return text;
}

std::string ManyMeshWords(int count)
{
    std::string text = std::string(kFirstLine) + "Data {\n";
    text.reserve(text.size() + 5 * static_cast<std::size_t>(count) + 2);
    for (int k = 0; k < count; ++k) text += "Mesh\n";
    return text + "}\n";
}

std::string ManyReferences(int count)
{
    std::string text = kFirstLine;
    for (int k = 0; k < count; ++k)
        text += "Material m" + std::to_string(k) + " {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n}\n";
    text += "Mesh M {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n MeshMaterialList {\n " +
            std::to_string(count) + ";\n 1;\n 0;;\n";
    for (int k = 0; k < count; ++k) text += " { m" + std::to_string(k) + " }\n";
    return text + " }\n}\n";
}

std::string MaterialsOnOneTexture(int materials, const std::string& textureFile)
{
    std::string text = std::string(kFirstLine) + "Mesh M {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n" +
                       " MeshTextureCoords {\n 3;\n 0;0;,\n 1;0;,\n 0;1;;\n }\n MeshMaterialList {\n " +
                       std::to_string(materials) + ";\n 1;\n 0;;\n";
    for (int k = 0; k < materials; ++k)
        text += " Material {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n TextureFilename {\n \"" + textureFile +
                "\";\n }\n }\n";
    return text + " }\n}\n";
}

std::string PngClaimingSize(int width, int height)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
    PutChunk(png, "IHDR", header);
    std::string data(100, '\0');
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
             static_cast<uLong>(data.size()));
    packed.resize(size);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", "");
    return png;
}

std::string JpegCutShort(int width, int height, bool endMarker)
{
    std::string jpeg = test_images::Jpeg(test_images::Blocks(16, 16), test_images::JpegKind::Colour, 90);
    // The frame header (SOF0) holds the height, then the width.
    const std::size_t frame = jpeg.find("\xff\xc0");
    const std::size_t scan = jpeg.find("\xff\xda");
    if (frame == std::string::npos || scan == std::string::npos) return {};
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height & 0xFF);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width & 0xFF);
    const std::size_t scanData = scan + 2 + ((static_cast<unsigned char>(jpeg[scan + 2]) << 8) |
                                             static_cast<unsigned char>(jpeg[scan + 3]));
    jpeg.resize(scanData + 8);
    if (endMarker) jpeg += "\xff\xd9";
    return jpeg;
}

std::string NoisyJpeg(int side)
{
    const auto size = static_cast<std::uint32_t>(side);
    return test_images::Jpeg(test_images::Noise(size, size, 3), test_images::JpegKind::Colour, 75);
}

}  // namespace cost_inputs

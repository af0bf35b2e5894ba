#include "CostInputs.h"

#include "TestImages.h"

#include <cstdint>

namespace cost_inputs {

namespace {

const char* const kFirstLine = "xof 0303txt 0032\n";

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

std::string ManyBones(int count)
{
    std::string text = kFirstLine;
    for (int k = 0; k < count; ++k) text += "Frame f" + std::to_string(k) + " {\n}\n";
    text += "Mesh M {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n";
    for (int k = 0; k < count; ++k)
        text += " SkinWeights {\n \"f" + std::to_string(k) +
                "\";\n 1;\n 0;\n 1.0;\n 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
    return text + "}\n";
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
    return test_images::PngClaiming(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 100);
}

std::string JpegCutShort(int width, int height, bool endMarker)
{
    const std::string jpeg = test_images::Jpeg(test_images::Blocks(16, 16), test_images::JpegKind::Colour, 90);
    return test_images::JpegCutInScan(
        test_images::JpegClaiming(jpeg, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)), 8,
        endMarker);
}

std::string NoisyJpeg(int side)
{
    const auto size = static_cast<std::uint32_t>(side);
    return test_images::Jpeg(test_images::Noise(size, size, 3), test_images::JpegKind::Colour, 75);
}

}  // namespace cost_inputs

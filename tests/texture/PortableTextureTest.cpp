#include "TestImages.h"
#include "TestSupport.h"
#include "texture/DxtBlocks.h"
#include "texture/PortableTexture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_images::Picture;

// The RGBA texel at (x, y) of an image `width` wide.
Bytes Texel(const Bytes& rgba, std::uint32_t width, std::uint32_t x, std::uint32_t y)
{
    const auto at = rgba.begin() + (y * width + x) * 4;
    return {at, at + 4};
}

// Sixteen 3-bit indices, texel 0 in the lowest bits, as six bytes.
std::array<std::uint8_t, 6> AlphaIndices(const std::array<int, 16>& indices)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i) bits |= std::uint64_t(indices[i]) << (3 * i);
    std::array<std::uint8_t, 6> bytes{};
    for (int b = 0; b < 6; ++b) bytes[b] = static_cast<std::uint8_t>(bits >> (8 * b));
    return bytes;
}

Decoded<TextureImage> DecodedPng(const Bytes& png) { return DecodePng(png, DecodeContext{"out.png", 1024}); }

std::string AsString(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

TEST(DxtBlocks, Dxt1FourColoursAndThreeWithTransparency)
{
    // Two blocks side by side. Left: white over black, four colours, indices
    // 0 1 2 3 on every row. Right: black not above red, three colours and a
    // transparent fourth, indices 3 2 1 0.
    const Bytes blocks{0xFF, 0xFF, 0x00, 0x00, 0xE4, 0xE4, 0xE4, 0xE4,
                       0x00, 0x00, 0x00, 0xF8, 0x1B, 0x1B, 0x1B, 0x1B};
    const auto rgba = DecompressDxt(DxtKind::Dxt1, 8, 4, blocks);
    ASSERT_TRUE(rgba);
    EXPECT_EQ(Texel(*rgba, 8, 0, 3), (Bytes{255, 255, 255, 255}));
    EXPECT_EQ(Texel(*rgba, 8, 1, 3), (Bytes{0, 0, 0, 255}));
    EXPECT_EQ(Texel(*rgba, 8, 2, 3), (Bytes{170, 170, 170, 255}));
    EXPECT_EQ(Texel(*rgba, 8, 3, 3), (Bytes{85, 85, 85, 255}));
    EXPECT_EQ(Texel(*rgba, 8, 4, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Texel(*rgba, 8, 5, 0), (Bytes{128, 0, 0, 255}));
    EXPECT_EQ(Texel(*rgba, 8, 6, 0), (Bytes{255, 0, 0, 255}));
    EXPECT_EQ(Texel(*rgba, 8, 7, 0), (Bytes{0, 0, 0, 255}));

    // An image of 5 x 5 cut from four blocks; too few blocks give nothing.
    Bytes four = blocks;
    four.insert(four.end(), blocks.begin(), blocks.end());
    const auto cut = DecompressDxt(DxtKind::Dxt1, 5, 5, four);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->size(), 5u * 5u * 4u);
    EXPECT_EQ(Texel(*cut, 5, 4, 4), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Texel(*cut, 5, 3, 4), (Bytes{85, 85, 85, 255}));
    EXPECT_FALSE(DecompressDxt(DxtKind::Dxt1, 5, 5, blocks));
    EXPECT_FALSE(DecompressDxt(DxtKind::Dxt5, 4, 4, Bytes(15)));
}

TEST(DxtBlocks, Dxt3ExplicitAlphaAndAlwaysFourColours)
{
    // Alphas 0, 15, 4, 8 on the first row (low nibble first), 15 elsewhere;
    // colours black then white: a DXT1 block would have had three.
    Bytes block{0xF0, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xE4, 0xE4, 0xE4, 0xE4};
    const auto rgba = DecompressDxt(DxtKind::Dxt3, 4, 4, block);
    ASSERT_TRUE(rgba);
    EXPECT_EQ(Texel(*rgba, 4, 0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Texel(*rgba, 4, 1, 0), (Bytes{255, 255, 255, 255}));
    EXPECT_EQ(Texel(*rgba, 4, 2, 0), (Bytes{85, 85, 85, 68}));
    EXPECT_EQ(Texel(*rgba, 4, 3, 0), (Bytes{170, 170, 170, 136}));
    EXPECT_EQ(Texel(*rgba, 4, 3, 3), (Bytes{170, 170, 170, 255}));
}

TEST(DxtBlocks, Dxt5AlphaRampsOfEightAndOfSixWithEnds)
{
    // Left block: 70 above 0, ramp 70 0 60 50 40 30 20 10. Right block: 0 not
    // above 50, ramp 0 50 10 20 30 40 and the ends 0 and 255. Colours: white.
    std::array<int, 16> indices{};
    for (int i = 0; i < 16; ++i) indices[i] = i % 8;
    const auto packed = AlphaIndices(indices);
    Bytes blocks;
    for (const std::uint8_t a0 : {70, 0}) {
        blocks.push_back(a0);
        blocks.push_back(a0 == 70 ? 0 : 50);
        blocks.insert(blocks.end(), packed.begin(), packed.end());
        blocks.insert(blocks.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
    }
    const auto rgba = DecompressDxt(DxtKind::Dxt5, 8, 4, blocks);
    ASSERT_TRUE(rgba);
    const int eight[] = {70, 0, 60, 50, 40, 30, 20, 10}, six[] = {0, 50, 10, 20, 30, 40, 0, 255};
    for (std::uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(Texel(*rgba, 8, i % 4, i / 4)[3], eight[i % 8]) << i;
        EXPECT_EQ(Texel(*rgba, 8, 4 + i % 4, i / 4)[3], six[i % 8]) << i;
    }
    EXPECT_EQ(Texel(*rgba, 8, 0, 0), (Bytes{255, 255, 255, 70}));
}

TEST(PortableTexture, PngAndJpegFilesAreTakenByteForByte)
{
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    Picture picture = test_images::Stripes(6, 4, 4);
    for (std::uint32_t x = 0; x < 6; ++x) picture.At(x, 0)[3] = 0, picture.At(x, 1)[3] = picture.At(x, 2)[3] = 255;
    const std::string png = test_images::Png(picture, test_images::PngKind::Rgba);
    folder.Write("skin.png", png);
    folder.Write("sky.jpg", test_images::Jpeg(test_images::Blocks(8, 8), test_images::JpegKind::Colour));

    // Named as a Windows model names it, found in the model's folder.
    const auto texture = ReadPortableTexture("C:\\art\\skin.png", folder.path().string());
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->mimeType, "image/png");
    EXPECT_EQ(AsString(texture->bytes), png);
    EXPECT_EQ(texture->alpha, TextureAlpha::Blended);  // the last row's 252
    EXPECT_EQ(texture->width, 6u);
    EXPECT_EQ(texture->height, 4u);

    const auto jpeg = ReadPortableTexture("sky.jpg", folder.path().string());
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->mimeType, "image/jpeg");
    EXPECT_EQ(AsString(jpeg->bytes), testing_support::ReadFileBytes((folder.path() / "sky.jpg").string()));
    EXPECT_EQ(jpeg->alpha, TextureAlpha::None);
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(PortableTexture, OtherFormatsBecomeAPngOfTheirDecodedImage)
{
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    Picture cutOut = test_images::Stripes(5, 3, 4);
    for (std::uint32_t x = 0; x < 5; ++x) cutOut.At(x, 0)[3] = 0, cutOut.At(x, 1)[3] = cutOut.At(x, 2)[3] = 255;
    const std::string tga = test_images::Tga(cutOut, false);
    folder.Write("leaf.tga", tga);
    const auto texture = ReadPortableTexture("leaf.tga", folder.path().string());
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->mimeType, "image/png");
    EXPECT_EQ(texture->alpha, TextureAlpha::CutOut);
    const auto original = DecodeTga(Bytes(tga.begin(), tga.end()), DecodeContext{"leaf.tga", 1024});
    const auto written = DecodedPng(texture->bytes);
    ASSERT_TRUE(original.image && written.image);
    EXPECT_EQ(written.image->components, 4);
    EXPECT_EQ(written.image->pixels, Bytes(original.image->pixels.bytes().begin(), original.image->pixels.bytes().end()));

    // A DXT1 file whose blocks are all opaque: an RGB picture.
    folder.Write("wall.dds", test_images::Dds("DXT1", 4, 4, 1, 8, std::string("\xFF\xFF\x00\x00\xE4\xE4\xE4\xE4", 8)));
    const auto wall = ReadPortableTexture("wall.dds", folder.path().string());
    ASSERT_TRUE(wall);
    const auto wallImage = DecodedPng(wall->bytes);
    ASSERT_TRUE(wallImage.image);
    EXPECT_EQ(wallImage.image->components, 3);
    EXPECT_EQ(Bytes(wallImage.image->pixels.bytes().begin(), wallImage.image->pixels.bytes().begin() + 12),
              (Bytes{255, 255, 255, 0, 0, 0, 170, 170, 170, 85, 85, 85}));

    // Luminance and alpha: grey with its alpha.
    folder.Write("glass.dds", test_images::Dds({0x20000 | 0x1, 16, {0xFF, 0, 0, 0xFF00}}, 2, 1, 1,
                                               std::string("\x10\x80\xF0\x20", 4)));
    const auto glass = ReadPortableTexture("glass.dds", folder.path().string());
    ASSERT_TRUE(glass);
    EXPECT_EQ(glass->alpha, TextureAlpha::Blended);
    const auto glassImage = DecodedPng(glass->bytes);
    ASSERT_TRUE(glassImage.image);
    EXPECT_EQ(glassImage.image->pixels, (Bytes{16, 16, 16, 128, 240, 240, 240, 32}));
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(PortableTexture, AMissingFileIsToldOnceAsTheViewerTellsIt)
{
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    EXPECT_FALSE(ReadPortableTexture("gone.png", folder.path().string()));
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, "Ce fichier: gone.png n'existe pas. Load_PNG");
    EXPECT_EQ(recorder.messages()[0].caption, "Erreur");

    EXPECT_FALSE(ReadPortableTexture("gone.dds", folder.path().string()));
    EXPECT_FALSE(ReadPortableTexture("notes.txt", folder.path().string()));
    ASSERT_EQ(recorder.messages().size(), 3u);
    EXPECT_EQ(recorder.messages()[1].text, "le fichier gone.dds n'a pas été trouvé, Load_DDS");
    EXPECT_EQ(recorder.messages()[1].caption, "ERROR");
    EXPECT_EQ(recorder.messages()[2].text,
              "Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture");
}

#include "TextureTestSupport.h"
#include "platform/GlEntryPoints.h"
#include "texture/Decoders.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace test_images;

namespace {

using ImageDecoderForTest = Decoded<TextureImage> (*)(std::span<const std::uint8_t>, const DecodeContext&);

std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Largest difference between two equally sized sample buffers.
int MaxDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    EXPECT_EQ(a.size(), b.size());
    int worst = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

// --- JPEG ---

TEST_F(TextureTest, JpegDecodesTopRowFirstIntoAMipmappedRgbTexture)
{
    const Picture picture = Blocks(16, 16);
    for (const JpegKind kind : {JpegKind::Colour, JpegKind::Progressive}) {
        ASSERT_EQ(Load("blocks.jpg", Jpeg(picture, kind)), S_OK) << OnlyMessage();
        Bind();
        EXPECT_LE(MaxDifference(Pixels(0, GL_RGB), picture.pixels), 8);
        EXPECT_EQ(Level(0).alphaSize, 0);
        EXPECT_EQ(LevelCount(), 5);
        EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
    EXPECT_TRUE(messages().empty());
}

TEST(JpegDecoder, RowsOfAWidthThatIsNotAMultipleOf4AreExactlyWidthTimes3Bytes)
{
    const Picture picture = Blocks(10, 9);
    const auto decoded = DecodeJpeg(AsBytes(Jpeg(picture, JpegKind::Colour)), DecodeContext{"odd.jpg", 64});
    ASSERT_TRUE(decoded.image.has_value());
    EXPECT_EQ(decoded.image->pixels.size(), 10u * 9u * 3u);
    EXPECT_LE(MaxDifference(decoded.image->pixels.bytes(), picture.pixels), 12);
}

TEST_F(TextureTest, JpegOtherThanColourIsRefusedWithoutNamingTheFile)
{
    for (const JpegKind kind : {JpegKind::Grey, JpegKind::Cmyk}) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("grey.jpg", Jpeg(Blocks(8, 8), kind)), E_FAIL);
        EXPECT_EQ(OnlyMessage(), "Erreur : l'image doit etre de type RGB");
        EXPECT_EQ(messages()[0].caption, "Erreur");
        EXPECT_FALSE(texture.textureId);
    }
}

TEST_F(TextureTest, JpegThatLibjpegCannotDecodeIsRefusedAndTheProgramGoesOn)
{
    const std::string good = Jpeg(Noise(64, 64, 3), JpegKind::Colour);
    const std::string name = PathOf("bad.jpg");
    std::string corruptTables = good;
    corruptTables[corruptTables.find("\xFF\xC4") + 4] = '\x7F';  // Huffman table class 7
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {Bmp24(Stripes(2, 2)),
         "Ce fichier: " + name + " n'a pas pu être décodé (Not a JPEG file: starts with 0x42 0x4d). Load_Jpeg"},
        {"", "Ce fichier: " + name + " n'a pas pu être décodé (Empty input file). Load_Jpeg"},
        {good.substr(0, 20), "Ce fichier: " + name + " est incomplet. Load_Jpeg"},
        {good.substr(0, good.size() * 9 / 10), "Ce fichier: " + name + " est incomplet. Load_Jpeg"},
        {corruptTables, "Ce fichier: " + name + " n'a pas pu être décodé (Bogus DHT index 111). Load_Jpeg"},
        // Its data bounds nothing: it may spend less than a bit on a block.
        {Jpeg(Noise(64, 64, 3), JpegKind::Arithmetic),
         "Ce fichier: " + name + " n'a pas pu être décodé (Sorry, arithmetic coding is not implemented). Load_Jpeg"},
    };
    for (const auto& c : cases) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("bad.jpg", c.bytes), E_FAIL) << c.message;
        EXPECT_EQ(OnlyMessage(), c.message);
        ASSERT_FALSE(messages().empty());
        EXPECT_EQ(messages()[0].caption, "Erreur");
        EXPECT_FALSE(texture.textureId);
    }
    // Still able to read the next file.
    EXPECT_EQ(Load("good.jpg", good), S_OK);

    const auto decoded = DecodeJpeg(AsBytes(good), DecodeContext{"big.jpg", 16});
    ASSERT_EQ(decoded.messages.size(), 1u);
    EXPECT_EQ(decoded.messages[0].text, "Ce fichier: big.jpg a une taille non prise en charge (64 x 64). Load_Jpeg");
}

TEST_F(TextureTest, TheCorpusJpegTextureLoads)
{
    ASSERT_EQ(texture.DoLoadTexture(testing_support::CorpusPath("irrlicht/earth.jpg")), S_OK) << OnlyMessage();
    Bind();
    EXPECT_EQ(Level(0).width, 512);
    EXPECT_EQ(Level(0).height, 256);
}

// --- PNG ---

struct PngCase {
    PngKind kind;
    int components;
};

TEST_F(TextureTest, PngGivesOneUnmipmappedLevelWithTheFilesOwnAlphaAndLeavesTheUnpackStateAlone)
{
    const Picture rgba = Stripes(4, 2, 4);
    const Picture rgb = Stripes(4, 2, 3);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    for (const PngCase c : {PngCase{PngKind::Rgb, 3}, PngCase{PngKind::Rgba, 4}, PngCase{PngKind::Palette, 3},
                            PngCase{PngKind::Rgb16, 3}, PngCase{PngKind::Interlaced, 3}}) {
        const Picture& picture = c.components == 4 ? rgba : rgb;
        ASSERT_EQ(Load("p.png", Png(picture, c.kind)), S_OK) << OnlyMessage();
        Bind();
        EXPECT_EQ(Pixels(0, c.components == 4 ? GL_RGBA : GL_RGB), picture.pixels) << int(c.kind);
        EXPECT_EQ(Level(0).alphaSize > 0, c.components == 4) << int(c.kind);
        EXPECT_EQ(LevelCount(), 1);
        EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2);
}

TEST(PngDecoder, ExpandsGreyAndTransparentPaletteFiles)
{
    const Picture picture = Stripes(3, 3, 4);
    const DecodeContext context{"p.png", 64};
    const auto grey = DecodePng(AsBytes(Png(picture, PngKind::GreyAlpha)), context);
    ASSERT_TRUE(grey.image.has_value());
    ASSERT_EQ(grey.image->components, 4);
    const std::uint8_t* last = &grey.image->pixels[8 * 4];  // pixel (2, 2)
    EXPECT_EQ(std::vector<std::uint8_t>(last, last + 4),
              (std::vector<std::uint8_t>{picture.pixels[32], picture.pixels[32], picture.pixels[32], 253}));

    // The palette's first entry, the top-left colour, is see-through.
    const auto palette = DecodePng(AsBytes(Png(picture, PngKind::PaletteWithTransparency)), context);
    ASSERT_TRUE(palette.image.has_value());
    ASSERT_EQ(palette.image->components, 4);
    EXPECT_EQ(palette.image->pixels[3], 0);
    EXPECT_EQ(palette.image->pixels[7], 255);

    const auto opaqueGrey = DecodePng(AsBytes(Png(picture, PngKind::Grey)), context);
    ASSERT_TRUE(opaqueGrey.image.has_value());
    EXPECT_EQ(opaqueGrey.image->components, 3);
}

TEST_F(TextureTest, PngSidesBecomePowersOfTwoOnlyWhenTheContextRequiresIt)
{
    const Picture picture = Stripes(3, 5);
    ASSERT_EQ(Load("odd.png", Png(picture, PngKind::Rgb)), S_OK);
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGB), picture.pixels);

    platform::SetGlExtensionOverride("GL_ARB_texture_compression GL_EXT_texture_compression_s3tc");
    const HRESULT scaled = texture.DoLoadTexture(PathOf("odd.png"));
    platform::SetGlExtensionOverride(std::nullopt);
    ASSERT_EQ(scaled, S_OK);
    Bind();
    EXPECT_EQ(Level(0).width, 4);
    EXPECT_EQ(Level(0).height, 4);
}

TEST_F(TextureTest, PngFailuresSayTheFileDoesNotExistUnlessItIsCutAndLeaveTextureIdAtZero)
{
    const std::string good = Png(Stripes(8, 8), PngKind::Rgb);
    std::string badCrc = good;
    badCrc[29] ^= 0x55;  // inside the IHDR chunk
    ASSERT_EQ(Load("held.png", good), S_OK);
    const GLuint held = texture.GetTextureId();
    for (const std::string& bytes : {good.substr(0, good.size() / 2), std::string("not a png"), badCrc,
                                     Jpeg(Blocks(8, 8), JpegKind::Colour)}) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("bad.png", bytes), E_FAIL);
        const char* tail = bytes.size() == good.size() / 2 ? " est incomplet. Load_PNG" : " n'existe pas. Load_PNG";
        EXPECT_EQ(OnlyMessage(), "Ce fichier: " + PathOf("bad.png") + tail);
        EXPECT_EQ(texture.textureId.get(), 0u);
    }
    EXPECT_FALSE(glIsTexture(held));  // the texture held before was deleted, not lost
    EXPECT_EQ(texture.DoLoadTexture(PathOf("missing.png")), E_FAIL);
    EXPECT_EQ(texture.textureId.get(), 0u);

    const auto decoded = DecodePng(AsBytes(good), DecodeContext{"big.png", 4});
    EXPECT_FALSE(decoded.image.has_value());
}

TEST_F(TextureTest, TheCorpusPngTexturesLoad)
{
    ASSERT_EQ(texture.DoLoadTexture(testing_support::CorpusPath("minetest_game/character.png")), S_OK);
    Bind();
    EXPECT_EQ(Level(0).width, 64);
    EXPECT_GT(Level(0).alphaSize, 0);
    ASSERT_EQ(texture.DoLoadTexture(testing_support::CorpusPath("assimp/test.png")), S_OK);
    Bind();
    EXPECT_EQ(Level(0).width, 512);
    EXPECT_EQ(Level(0).alphaSize, 0);
}

}  // namespace

namespace {

// Damaged copies of valid files: every decoder must refuse or decode them
// without reading or writing out of bounds (checked by the sanitizer build).
TEST(DamagedFiles, EveryDecoderSurvivesFlippedAndCutBytes)
{
    const Picture picture = Stripes(8, 8, 4);
    const Picture rgb = Stripes(8, 8, 3);
    const struct {
        ImageDecoderForTest decode;
        std::string bytes;
    } formats[] = {
        {DecodePpm, PpmP6(rgb)}, {DecodePpm, PpmP3(rgb)}, {DecodeTga, Tga(picture, false)},
        {DecodeBmp, Bmp8(rgb, true)}, {DecodeJpeg, Jpeg(rgb, JpegKind::Progressive)},
        {DecodePng, Png(picture, PngKind::Interlaced)},
    };
    testing_support::MessageRecorder recorder;  // libjpeg's warnings on corrupt data go to the trace
    std::uint32_t state = 7;
    const auto next = [&] { return state = state * 1664525u + 1013904223u; };
    const DecodeContext context{"damaged", 64};
    for (const auto& format : formats) {
        for (int round = 0; round < 150; ++round) {
            std::string bytes = format.bytes;
            for (int flips = 1 + next() % 4; flips > 0; --flips) bytes[next() % bytes.size()] ^= static_cast<char>(1 << (next() % 8));
            if (round % 3 == 0) bytes.resize(next() % bytes.size());
            const auto decoded = format.decode(AsBytes(bytes), context);
            if (decoded.image)
                EXPECT_EQ(decoded.image->pixels.size(),
                          std::size_t(decoded.image->width) * decoded.image->height * decoded.image->components);
            else
                EXPECT_FALSE(decoded.messages.empty());
        }
    }
    const std::string ddsFiles[] = {
        Dds("DXT5", 16, 8, 5, 128, DxtData(128 + 32 + 16 + 16 + 16, 9)),
        Dds({0x41, 16, {0xF00, 0xF0, 0xF, 0xF000}}, 6, 3, 3, DxtData(36 + 6 + 2, 9)),
        Dds10(71, 8, 8, 4, DxtData(2 * 32 + 8 + 8 + 8, 9), 4, 0, 2),  // a volume; flips reach the extended header
    };
    for (int round = 0; round < 900; ++round) {
        std::string bytes = ddsFiles[round / 300];
        const std::size_t header = round < 600 ? 128 : 148;
        for (int flips = 1 + next() % 4; flips > 0; --flips)
            bytes[next() % header] ^= static_cast<char>(1 << (next() % 8));
        if (round % 3 == 0) bytes.resize(next() % bytes.size());
        const auto decoded = DecodeDds(AsBytes(bytes), context);
        if (decoded.image) {
            ASSERT_FALSE(decoded.image->levels.empty());
            const DdsLevel& last = decoded.image->levels.back();
            EXPECT_EQ(last.offset + last.size, decoded.image->data.size());
        }
    }
}

}  // namespace

#include "platform/BitmapLoader.h"
#include "TextureTestSupport.h"
#include "texture/Decoders.h"
#include "texture/ImageLimits.h"

#include <gtest/gtest.h>

using namespace test_images;

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// --- PPM ---

TEST_F(TextureTest, PpmP6KeepsSamplesThatLookLikeWhiteSpaceAndSkipsHeaderComments)
{
    Picture picture = Stripes(4, 2);
    const std::uint8_t first[] = {10, 13, 32, 9, 35, 48};  // LF, CR, space, tab, "#", "0"
    std::copy(std::begin(first), std::end(first), picture.pixels.begin());
    const std::string header = "P6\n# made by hand\n4 2\n# a comment line\n255\n";
    ASSERT_EQ(Load("a.ppm", PpmP6(picture, header)), S_OK) << OnlyMessage();
    EXPECT_TRUE(messages().empty());
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGB), picture.pixels);  // first row of the file first
    EXPECT_EQ(LevelCount(), 3);
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
}

TEST_F(TextureTest, PpmP3KeepsTheLow8BitsOfEachSample)
{
    const std::string text = "P3\n#c\n2 1\n#m\n255\n300 0 255\n1 2 65792\n";
    ASSERT_EQ(Load("b.ppm", text), S_OK) << OnlyMessage();
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGB), (std::vector<std::uint8_t>{44, 0, 255, 1, 2, 0}));
    EXPECT_EQ(Level(0).width, 2);
}

TEST_F(TextureTest, PpmRefusalsNameTheFileAndCreateNoTexture)
{
    const struct {
        std::string bytes;
        std::string tail;
    } cases[] = {
        {"P5\n2 2\n255\n....", " n'est pas un .ppm. Load_Ppm"},
        {"P1\n2 2\n0 1 1 0\n", " n'est pas un .ppm. Load_Ppm"},
        {"P", " n'est pas un .ppm. Load_Ppm"},
        {"P6\n# a comment that never ends", " est incomplet. Load_Ppm"},
        {"P6\n2 2\n# again", " est incomplet. Load_Ppm"},
        {"P6\n2 2\n255\n" + std::string(11, 'x'), " est incomplet. Load_Ppm"},
        {"P6\n2 2\n255", " est incomplet. Load_Ppm"},
        {"P3\n2 2\n255\n1 2 3 4 5 6 7 8 9 10 11", " est incomplet. Load_Ppm"},
        {"P3\n1 1\n255\n1 x 3", " n'est pas valide. Load_Ppm"},
        {"P6\n2 # width\n2\n255\n", " n'est pas valide. Load_Ppm"},
        {"P6\n99999999999 1\n255\n", " n'est pas valide. Load_Ppm"},
        {"P6\n0 4\n255\n", " a une taille non prise en charge (0 x 4). Load_Ppm"},
        {"P6\n4 0\n255\n", " a une taille non prise en charge (4 x 0). Load_Ppm"},
        {"P6\n4294967295 4294967295\n255\n", " a une taille non prise en charge (4294967295 x 4294967295). Load_Ppm"},
    };
    for (const auto& c : cases) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("bad.ppm", c.bytes), E_FAIL) << c.bytes;
        EXPECT_EQ(OnlyMessage(), "Ce fichier: " + PathOf("bad.ppm") + c.tail) << c.bytes;
        EXPECT_FALSE(texture.textureId);
    }
}

TEST_F(TextureTest, TheSampleTextureOfTheCubeLoads)
{
    ASSERT_EQ(texture.DoLoadTexture(testing_support::SamplePath("pelmora.ppm")), S_OK) << OnlyMessage();
    Bind();
    EXPECT_EQ(Level(0).width, 64);
    EXPECT_EQ(Level(0).height, 64);
    EXPECT_EQ(LevelCount(), 7);
}

// --- TGA ---

TEST_F(TextureTest, TgaStoredEitherWayUpGivesTheSameTextureTopRowFirst)
{
    const Picture picture = Stripes(4, 4);
    ASSERT_EQ(Load("up.tga", Tga(picture, false)), S_OK) << OnlyMessage();
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGB), picture.pixels);
    EXPECT_EQ(Level(0).alphaSize, 0);
    EXPECT_EQ(LevelCount(), 3);  // built, though the filter never samples them
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    LoadTexture down;
    ASSERT_EQ(down.DoLoadTexture(folder.Write("down.tga", Tga(picture, true, 20))), S_OK) << OnlyMessage();
    glBindTexture(GL_TEXTURE_2D, down.GetTextureId());
    EXPECT_EQ(Pixels(0, GL_RGB), picture.pixels);
}

TEST_F(TextureTest, Tga32KeepsItsAlpha)
{
    const Picture picture = Stripes(2, 4, 4);
    ASSERT_EQ(Load("alpha.tga", Tga(picture, false)), S_OK) << OnlyMessage();
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGBA), picture.pixels);
    EXPECT_GT(Level(0).alphaSize, 0);
}

TEST_F(TextureTest, TgaRefusalsNameTheFileAndCreateNoTexture)
{
    const std::string good = Tga(Stripes(4, 4), false);
    const auto with = [&](std::size_t at, std::uint8_t value) {
        std::string bytes = good;
        bytes[at] = static_cast<char>(value);
        return bytes;
    };
    const std::string name = PathOf("bad.tga");
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {with(2, 10), "Erreur " + name + ". Load_TGA"},   // run-length encoded
        {with(1, 1), "Erreur " + name + ". Load_TGA"},    // colour map
        {with(2, 3), "Erreur " + name + ". Load_TGA"},    // grey scale
        {with(16, 16), "Erreur " + name + " n'est pas 24 ou 32bits. Load_TGA"},
        {good.substr(0, 17), "Erreur " + name + " est incomplet. Load_TGA"},
        {good.substr(0, good.size() - 1), "Erreur " + name + " est incomplet. Load_TGA"},
        {with(0, 200), "Erreur " + name + " est incomplet. Load_TGA"},  // an image ID past the end
        {with(12, 0), "Erreur " + name + " a une taille non prise en charge (0 x 4). Load_TGA"},
        {with(15, 1), "Erreur " + name + " est incomplet. Load_TGA"},  // 260 rows promised
    };
    for (const auto& c : cases) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("bad.tga", c.bytes), E_FAIL) << c.message;
        EXPECT_EQ(OnlyMessage(), c.message);
        EXPECT_FALSE(texture.textureId);
    }
}

TEST_F(TextureTest, ImagesWiderThanTheContextAcceptsAreRefusedBeforeAnyPixelIsRead)
{
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    ASSERT_GT(side, 0);
    EXPECT_EQ(MaxTextureSide(), static_cast<std::uint32_t>(side));
    Picture wide{static_cast<std::uint32_t>(side) + 1, 1, 3, {}};
    wide.pixels.resize(wide.width * 3);
    EXPECT_EQ(Load("wide.tga", Tga(wide, true)), E_FAIL);
    EXPECT_EQ(OnlyMessage(), "Erreur " + PathOf("wide.tga") + " a une taille non prise en charge (" +
                                 std::to_string(side + 1) + " x 1). Load_TGA");
}

TEST(TextureLimits, WithoutAContextTheLargestSideIsASaneBound)
{
    EXPECT_EQ(MaxTextureSide(), kFallbackMaxTextureSide);
    EXPECT_FALSE(ImageBytes(1ull << 40, 1ull << 40, 4).has_value());
    EXPECT_EQ(ImageBytes(16384, 16384, 4), std::size_t{1} << 30);
}

TEST_F(TextureTest, TheCorpusTgaTexturesLoad)
{
    for (const char* name : {"assimp/bottom.tga", "assimp/top.tga", "assimp/updown.tga"}) {
        ASSERT_EQ(texture.DoLoadTexture(testing_support::CorpusPath(name)), S_OK) << name << OnlyMessage();
        Bind();
        EXPECT_EQ(Level(0).width, 256) << name;
    }
}

// --- BMP ---

TEST_F(TextureTest, BmpGivesTheTopLeftPixelFirstWhicheverWayTheRowsAreStored)
{
    Picture picture = Stripes(4, 4);
    picture.At(0, 0)[0] = 255, picture.At(0, 0)[1] = 0, picture.At(0, 0)[2] = 0;
    for (const bool topDown : {false, true}) {
        ASSERT_EQ(Load("red.bmp", Bmp24(picture, topDown)), S_OK) << OnlyMessage();
        Bind();
        const auto pixels = Pixels(0, GL_RGB);
        EXPECT_EQ(std::vector<std::uint8_t>(pixels.begin(), pixels.begin() + 3), (std::vector<std::uint8_t>{255, 0, 0}));
        EXPECT_EQ(pixels, picture.pixels);
        EXPECT_EQ(LevelCount(), 3);
        EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    }
}

TEST(BmpDecoder, ReadsPaddedPaletteAndRunLengthBitmapsIntoPackedRows)
{
    const Picture picture = Stripes(5, 3);  // rows of 15 bytes, padded to 16 in the file
    const DecodeContext context{"p.bmp", 64};
    for (const std::string& bytes : {Bmp24(picture), Bmp8(picture, false), Bmp8(picture, true)}) {
        const auto decoded = DecodeBmp(AsBytes(bytes), context);
        ASSERT_TRUE(decoded.image.has_value());
        EXPECT_EQ(decoded.image->width, 5u);
        EXPECT_EQ(decoded.image->components, 3);
        EXPECT_EQ(decoded.image->pixels, picture.pixels);
    }
}

TEST_F(TextureTest, BmpRefusalsNameTheFile)
{
    const std::string good = Bmp24(Stripes(4, 4));
    const std::string name = PathOf("bad.bmp");
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {Png(Stripes(4, 4), PngKind::Rgb), "Ce fichier: " + name + " n'existe pas. Load_BMP"},  // not a bitmap
        {"", "Ce fichier: " + name + " n'existe pas. Load_BMP"},
        {good.substr(0, good.size() - 20), "Ce fichier: " + name + " est incomplet. Load_BMP"},
        {good.substr(0, 40), "Ce fichier: " + name + " est incomplet. Load_BMP"},  // ends inside its headers
    };
    for (const auto& c : cases) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("bad.bmp", c.bytes), E_FAIL) << c.message;
        EXPECT_EQ(OnlyMessage(), c.message);
        EXPECT_FALSE(texture.textureId);
    }
    Picture wide{300, 1, 3, std::vector<std::uint8_t>(900)};
    const auto decoded = DecodeBmp(AsBytes(Bmp24(wide)), DecodeContext{"w.bmp", 256});
    EXPECT_FALSE(decoded.image.has_value());
    ASSERT_EQ(decoded.messages.size(), 1u);
    EXPECT_EQ(decoded.messages[0].text, "Ce fichier: w.bmp a une taille non prise en charge (300 x 1). Load_BMP");
}

// Header fields that announce more than the file holds (a data offset, an
// info header size, a palette of 2^32 colours) would make the desktop loader
// reserve gigabytes before reading them; such files are refused as incomplete.
TEST(BmpDecoder, HeaderFieldsBeyondTheFileAreRefusedBeforeTheLoaderSizesBuffers)
{
    const std::string good = Bmp24(Stripes(4, 4));
    auto withField = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = good;
        for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
        return bytes;
    };
    for (const auto& [at, value] : {std::pair<std::size_t, std::uint32_t>{10, 0xCECECECEu}, {14, 0x7FFFFFF0u}, {46, 0xFFFFFFFFu}}) {
        const auto bitmap = platform::DecodeBitmap(AsBytes(withField(at, value)), 64);
        EXPECT_EQ(bitmap.status, platform::BitmapStatus::Incomplete) << "field at " << at;
    }
    EXPECT_EQ(platform::DecodeBitmap(AsBytes(good), 64).status, platform::BitmapStatus::Loaded);
}

}  // namespace

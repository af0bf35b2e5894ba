#include "TextureTestSupport.h"
#include "platform/GlEntryPoints.h"
#include "texture/Decoders.h"

#include <EGL/egl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstring>

using namespace test_images;

namespace {

struct Side {
    GLint width, height;
};

std::string Bytes(std::initializer_list<int> bytes) { return std::string(bytes.begin(), bytes.end()); }

class DdsTest : public TextureTest {
protected:
    void TearDown() override
    {
        platform::SetGlExtensionOverride(std::nullopt);
        platform::SetGlProcLookup([](const char* name) { return reinterpret_cast<platform::GlProc>(eglGetProcAddress(name)); });
        TextureTest::TearDown();
    }

    // Checks that each level holds the file's bytes for it.
    void ExpectLevels(const std::string& data, GLenum format, const std::vector<Side>& sides,
                      const std::vector<int>& sizes)
    {
        Bind();
        ASSERT_EQ(LevelCount(), static_cast<GLint>(sides.size()));
        std::size_t offset = 0;
        for (std::size_t level = 0; level < sides.size(); ++level) {
            const LevelInfo info = Level(static_cast<GLint>(level));
            EXPECT_EQ(info.width, sides[level].width) << level;
            EXPECT_EQ(info.height, sides[level].height) << level;
            EXPECT_EQ(info.internalFormat, static_cast<GLint>(format)) << level;
            EXPECT_TRUE(info.compressed) << level;
            EXPECT_EQ(info.compressedSize, sizes[level]) << level;
            EXPECT_EQ(CompressedBytes(static_cast<GLint>(level)), data.substr(offset, sizes[level])) << level;
            offset += sizes[level];
        }
        EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }

    // Each level of the loaded texture: its internal format and bytes.
    std::vector<std::string> CompressedLevels() const
    {
        Bind();
        std::vector<std::string> levels;
        for (GLint level = 0; level < LevelCount(); ++level)
            levels.push_back(std::to_string(Level(level).internalFormat) + ": " + CompressedBytes(level));
        return levels;
    }
};

TEST_F(DdsTest, Dxt1UploadsEveryStoredLevelCompressedAsItIs)
{
    const std::string data = DxtData(43704, 1);
    ASSERT_EQ(Load("a.dds", Dds("DXT1", 256, 256, 9, 32768, data)), S_OK) << OnlyMessage();
    EXPECT_TRUE(messages().empty());
    ExpectLevels(data, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT,
                 {{256, 256}, {128, 128}, {64, 64}, {32, 32}, {16, 16}, {8, 8}, {4, 4}, {2, 2}, {1, 1}},
                 {32768, 8192, 2048, 512, 128, 32, 8, 8, 8});
}

TEST_F(DdsTest, Dxt5SidesStopAtOneAndDxt3WithOneOrNoCountGivesLevelZeroOnly)
{
    const std::string data = DxtData(16384 + 4096 + 1024 + 256 + 64 + 32 + 16 + 16 + 16, 2);
    ASSERT_EQ(Load("b.dds", Dds("DXT5", 256, 64, 9, 16384, data)), S_OK) << OnlyMessage();
    ExpectLevels(data, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT,
                 {{256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}},
                 {16384, 4096, 1024, 256, 64, 32, 16, 16, 16});

    for (const std::uint32_t count : {0u, 1u}) {
        const std::string level0 = DxtData(256, 3);
        ASSERT_EQ(Load("c.dds", Dds("DXT3", 16, 16, count, 256, level0 + DxtData(64, 4))), S_OK) << OnlyMessage();
        ExpectLevels(level0, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, {{16, 16}}, {256});
    }
}

TEST_F(DdsTest, LevelsAreSizedFromTheSidesNotFromTheLinearSize)
{
    // A linear size of 0 is reported, and the file still loads whole.
    const std::string data = DxtData(128 + 32 + 8 + 8 + 8, 5);
    ASSERT_EQ(Load("zero.dds", Dds("DXT1", 16, 16, 5, 0, data)), S_OK);
    EXPECT_EQ(OnlyMessage(), "dwLinearSize est à 0");
    EXPECT_EQ(messages()[0].caption, "ERROR");
    ExpectLevels(data, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, {{16, 16}, {8, 8}, {4, 4}, {2, 2}, {1, 1}}, {128, 32, 8, 8, 8});

    // A count past the full chain stops at 1x1; a file cut short keeps its complete levels.
    recorder.sink.messages.clear();
    ASSERT_EQ(Load("many.dds", Dds("DXT1", 16, 16, 4000000000u, 128, data + "trailing bytes")), S_OK);
    ExpectLevels(data, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, {{16, 16}, {8, 8}, {4, 4}, {2, 2}, {1, 1}}, {128, 32, 8, 8, 8});
    ASSERT_EQ(Load("short.dds", Dds("DXT1", 16, 16, 5, 128, data.substr(0, 128 + 32 + 7))), S_OK);
    ExpectLevels(data, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, {{16, 16}, {8, 8}}, {128, 32});
    EXPECT_TRUE(messages().empty());

    const std::string header = Dds("DXT1", 256, 256, 9, 32768, "");
    EXPECT_EQ(DdsDataBytesNeeded({reinterpret_cast<const std::uint8_t*>(header.data()), header.size()}, 16384),
              std::optional<std::uint64_t>(43704));
}

TEST_F(DdsTest, RefusalsUseTheErrorCaptionAndCreateNoTexture)
{
    const std::string name = PathOf("bad.dds");
    const std::string good = Dds("DXT1", 8, 8, 1, 32, DxtData(32, 6));
    std::string badMagic = good;
    badMagic[3] = 'X';
    const std::string unsupported =
        "Le fichier " + name + " n'utilise pas la compression DXT1, DXT3, ou DXT5, Load_DDS";
    const std::string invalid = "Le fichier " + name + " n'est pas valide, Load_DDS";
    const struct {
        std::string bytes;
        std::string message;
    } cases[] = {
        {badMagic, "Le fichier " + name + " n'est pas valide, Load_DDS"},
        {"DDS", "Le fichier " + name + " n'est pas valide, Load_DDS"},
        {good.substr(0, 100), "Le fichier " + name + " n'est pas valide, Load_DDS"},
        {good.substr(0, 128 + 31), "Le fichier " + name + " n'est pas valide, Load_DDS"},  // level 0 incomplete
        {Dds("DXT2", 8, 8, 1, 32, DxtData(32, 6)), unsupported},
        {Dds("DXT4", 8, 8, 1, 32, DxtData(32, 6)), unsupported},
        {Dds("\0\0\0\0", 8, 8, 1, 32, DxtData(32, 6)), unsupported},  // a code of zeros, no pixel layout
        {Dds("DXT1", 0, 8, 1, 32, DxtData(32, 6)), "Le fichier " + name + " a une taille non prise en charge (0 x 8), Load_DDS"},
        {Dds("DXT1", 8, 99999, 1, 32, DxtData(32, 6)),
         "Le fichier " + name + " a une taille non prise en charge (8 x 99999), Load_DDS"},
        {Dds({0x41, 32, {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000}}, 2, 2, 1, DxtData(16, 6)), unsupported},  // 10 bits
        {Dds({0x40, 24, {0xFF, 0xFF00, 0xFF0000}}, 2, 2, 1, DxtData(12, 6)), unsupported},  // B8G8R8
        {Dds({0x20000, 16, {0xFFFF}}, 2, 2, 1, DxtData(8, 6)), unsupported},                  // L16
        {Dds({0x44, 32, {0xFF0000, 0xFF00, 0xFF}}, 2, 2, 1, DxtData(16, 6)), unsupported},    // a code, none known
        {Dds10(98, 4, 4, 1, DxtData(16, 6)), unsupported},                                     // BC7
        {Dds10(71, 4, 4, 1, DxtData(8, 6)).substr(0, 140), invalid},  // the extended header cut short
        {Dds({0x20000, 8, {0xFF}}, 3, 2, 1, DxtData(5, 6)), invalid},  // uncompressed level 0 incomplete
    };
    for (const auto& c : cases) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("bad.dds", c.bytes), E_FAIL) << c.message;
        EXPECT_EQ(OnlyMessage(), c.message);
        ASSERT_FALSE(messages().empty());
        EXPECT_EQ(messages()[0].caption, "ERROR");
        EXPECT_FALSE(texture.textureId);
    }
}

TEST_F(DdsTest, UncompressedLayoutsAreReadBackAsEightBitSamples)
{
    constexpr std::uint32_t kA = 0x1, kRgb = 0x40, kL = 0x20000;
    // Two pixels each; the unused bits of X layouts are set. Packed samples
    // scale so that all ones give 255: 5 bits of 16 give 132, 6 of 32 give
    // 130, 4 of 8 give 136 and of 7 give 119.
    const std::string eight = Bytes({1, 2, 3, 4, 5, 6, 7, 8});
    const struct {
        DdsPixelFormat format;
        std::string pixels;
        GLenum internalFormat, layout;
        std::vector<std::uint8_t> samples;
    } cases[] = {
        {{kRgb | kA, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, eight, GL_RGBA8, GL_RGBA, {3, 2, 1, 4, 7, 6, 5, 8}},
        {{kRgb, 32, {0xFF0000, 0xFF00, 0xFF}}, eight, GL_RGB8, GL_RGB, {3, 2, 1, 7, 6, 5}},
        {{kRgb | kA, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}}, eight, GL_RGBA8, GL_RGBA, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{kRgb, 32, {0xFF, 0xFF00, 0xFF0000}}, eight, GL_RGB8, GL_RGB, {1, 2, 3, 5, 6, 7}},
        {{kRgb, 24, {0xFF0000, 0xFF00, 0xFF}}, eight.substr(0, 6), GL_RGB8, GL_RGB, {3, 2, 1, 6, 5, 4}},
        {{kRgb, 16, {0xF800, 0x7E0, 0x1F}}, Bytes({0xE0, 0xFF, 0x10, 0x84}), GL_RGB8, GL_RGB,
         {255, 255, 0, 132, 130, 132}},
        {{kRgb | kA, 16, {0x7C00, 0x3E0, 0x1F, 0x8000}}, Bytes({0x1F, 0xFC, 0x10, 0x42}), GL_RGBA8, GL_RGBA,
         {255, 0, 255, 255, 132, 132, 132, 0}},
        {{kRgb, 16, {0x7C00, 0x3E0, 0x1F}}, Bytes({0x1F, 0xFC, 0x10, 0x42}), GL_RGB8, GL_RGB,
         {255, 0, 255, 132, 132, 132}},
        {{kRgb | kA, 16, {0xF00, 0xF0, 0xF, 0xF000}}, Bytes({0xF0, 0xF0, 0x88, 0x78}), GL_RGBA8, GL_RGBA,
         {0, 255, 0, 255, 136, 136, 136, 119}},
        {{kRgb, 16, {0xF00, 0xF0, 0xF}}, Bytes({0xF0, 0xF0, 0x88, 0x78}), GL_RGB8, GL_RGB, {0, 255, 0, 136, 136, 136}},
        {{kL, 8, {0xFF}}, Bytes({16, 240}), GL_LUMINANCE8, GL_LUMINANCE, {16, 240}},
        {{kL | kA, 16, {0xFF, 0, 0, 0xFF00}}, Bytes({16, 128, 240, 32}), GL_LUMINANCE8_ALPHA8, GL_LUMINANCE_ALPHA,
         {16, 128, 240, 32}},
        {{0x2, 8, {0, 0, 0, 0xFF}}, Bytes({16, 240}), GL_ALPHA8, GL_ALPHA, {16, 240}},
        // Alpha counts only with both its flag and its mask.
        {{kRgb, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}, eight, GL_RGB8, GL_RGB, {3, 2, 1, 7, 6, 5}},
        {{kRgb | kA, 32, {0xFF0000, 0xFF00, 0xFF}}, eight, GL_RGB8, GL_RGB, {3, 2, 1, 7, 6, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ASSERT_EQ(Load("layout.dds", Dds(c.format, 2, 1, 1, c.pixels)), S_OK) << OnlyMessage();
        Bind();
        EXPECT_EQ(Level(0).internalFormat, static_cast<GLint>(c.internalFormat));
        EXPECT_EQ(Pixels(0, c.layout), c.samples);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(DdsTest, OnlyTheFirstFaceOrSliceIsReadUpToItsFirstLevelCutShort)
{
    // Luminance levels of 3x2 (rows of 3 bytes, unpadded) and 1x1, six times over.
    const DdsPixelFormat luminance{0x20000, 8, {0xFF}};
    const std::string data = DxtData(6 * 7, 12);
    const auto at = [&](std::size_t offset, std::size_t size) {
        return std::vector<std::uint8_t>(data.begin() + offset, data.begin() + offset + size);
    };
    const struct {
        std::string file;
        std::vector<std::vector<std::uint8_t>> levels;
    } cases[] = {
        {Dds(luminance, 3, 2, 9, data), {at(0, 6), at(6, 1)}},                        // the chain stops at 1x1
        {Dds(luminance, 3, 2, 2, data, 0x200 | 0xFC00), {at(0, 6), at(6, 1)}},        // a cube map's first face
        {Dds(luminance, 3, 2, 2, data, 0x200000, 2), {at(0, 6), at(12, 1)}},          // 2 slices, then 1
        {Dds(luminance, 3, 2, 2, data.substr(0, 6)), {at(0, 6)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ASSERT_EQ(Load("levels.dds", c.file), S_OK) << OnlyMessage();
        Bind();
        ASSERT_EQ(LevelCount(), static_cast<GLint>(c.levels.size()));
        for (std::size_t level = 0; level < c.levels.size(); ++level)
            EXPECT_EQ(Pixels(static_cast<GLint>(level), GL_LUMINANCE), c.levels[level]) << level;
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(DdsTest, Dx10FilesOfBc1ToBc3GiveTheTexturesOfTheirDxtTwins)
{
    const std::string data = DxtData(128 + 32 + 16 + 16 + 16, 8);  // DXT1 reads the first 104 bytes
    for (std::uint32_t format = 70; format <= 78; ++format) {      // typeless, unorm and sRGB of each
        const char* twin = format < 73 ? "DXT1" : format < 76 ? "DXT3" : "DXT5";
        ASSERT_EQ(Load("twin.dds", Dds(twin, 16, 8, 5, 64, data)), S_OK);
        const std::vector<std::string> expected = CompressedLevels();
        ASSERT_EQ(Load("dx10.dds", Dds10(format, 16, 8, 5, data)), S_OK) << OnlyMessage();
        EXPECT_EQ(CompressedLevels(), expected) << format;
    }

    // A volume: 2 slices of 8x8, then 1 of 4x4.
    ASSERT_EQ(Load("volume.dds", Dds10(71, 8, 8, 2, data, 4, 0, 2)), S_OK);
    Bind();
    ASSERT_EQ(LevelCount(), 2);
    EXPECT_EQ(CompressedBytes(0), data.substr(0, 32));
    EXPECT_EQ(CompressedBytes(1), data.substr(64, 8));
    EXPECT_TRUE(messages().empty());
}

TEST_F(DdsTest, WithoutTheExtensionOrItsEntryPointNoFileIsOpened)
{
    const std::string missing = PathOf("missing.dds");
    for (const std::optional<const char*> extensions :
         {std::optional<const char*>("GL_EXT_texture_compression_s3tc"), std::optional<const char*>(nullptr)}) {
        platform::SetGlExtensionOverride(extensions);
        recorder.sink.messages.clear();
        EXPECT_EQ(texture.DoLoadTexture(missing), E_FAIL);
        EXPECT_EQ(OnlyMessage(), "ARB_texture_compression n'a pas été trouvé, Load_DDS");
        EXPECT_EQ(messages()[0].caption, "ERROR");
    }
    platform::SetGlExtensionOverride(std::nullopt);

    int lookups = 0;
    platform::SetGlProcLookup([&](const char* name) -> platform::GlProc {
        if (std::strcmp(name, "glCompressedTexImage2DARB") == 0) ++lookups;
        return nullptr;
    });
    for (int call = 0; call < 2; ++call) {
        recorder.sink.messages.clear();
        EXPECT_EQ(Load("ok.dds", Dds("DXT1", 4, 4, 1, 8, DxtData(8, 7))), E_FAIL);
        EXPECT_EQ(OnlyMessage(), "Le point d'entrée glCompressedTexImage2DARB n'a pas été trouvé, Load_DDS");
        EXPECT_EQ(messages()[0].caption, "ERROR");
    }
    EXPECT_EQ(lookups, 2);  // looked up again on every call
    EXPECT_FALSE(texture.textureId);
}

}  // namespace

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
        {Dds("\0\0\0\0", 8, 8, 1, 32, DxtData(32, 6)), unsupported},  // uncompressed
        {Dds("DXT1", 0, 8, 1, 32, DxtData(32, 6)), "Le fichier " + name + " a une taille non prise en charge (0 x 8), Load_DDS"},
        {Dds("DXT1", 8, 99999, 1, 32, DxtData(32, 6)),
         "Le fichier " + name + " a une taille non prise en charge (8 x 99999), Load_DDS"},
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

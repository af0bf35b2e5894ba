#include "TextureTestSupport.h"
#include "texture/PortableTexture.h"

#include <gtest/gtest.h>

using namespace test_images;

namespace {

// A PNG named as a JPEG: refused as ever by the extension's reader; read by
// the PNG reader, its own way and with no word of the refusal, when asked.
// When no other reader takes a file, its extension's reader's words stand.
TEST_F(TextureTest, AFileItsExtensionsReaderRefusesGoesToTheReaderItsSignatureNames)
{
    const Picture picture = Stripes(8, 4, 4);
    const std::string wolf = folder.Write("wolf.jpg", Png(picture, PngKind::Rgba));
    EXPECT_EQ(texture.DoLoadTexture(wolf), E_FAIL);
    EXPECT_EQ(OnlyMessage(), "Ce fichier: " + wolf + " n'a pas pu être décodé (Not a JPEG file: starts with 0x89 0x50). Load_Jpeg");
    recorder.sink.messages.clear();
    ASSERT_EQ(texture.DoLoadTexture(wolf, "", ReaderChoice::ContentOnRefusal), S_OK);
    EXPECT_TRUE(messages().empty()) << OnlyMessage();
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGBA), picture.pixels);
    EXPECT_EQ(LevelCount(), 1);  // level 0 alone, as the PNG reader uploads

    // No signature; a PNG the PNG reader refuses too.
    for (const auto& [name, bytes] : {std::pair{"bark.jpg", Tga(picture, false)}, {"cut.jpg", PngClaiming(64, 64, 100)}}) {
        const std::string path = folder.Write(name, bytes);
        recorder.sink.messages.clear();
        EXPECT_EQ(texture.DoLoadTexture(path), E_FAIL);
        const auto byExtension = OnlyMessage();
        EXPECT_EQ(texture.DoLoadTexture(path, "", ReaderChoice::ContentOnRefusal), E_FAIL);
        ASSERT_EQ(messages().size(), 2u) << name;
        EXPECT_EQ(messages()[1].text, byExtension);
    }
}

// The export always goes by the bytes when the extension's reader refuses them.
TEST(PortableTexture, AMisnamedPngIsCarriedOutAsThePngItIs)
{
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    const std::string png = Png(Stripes(6, 4, 4), PngKind::Rgba);
    folder.Write("wolf.jpg", png);
    const auto wolf = ReadPortableTexture("wolf.jpg", folder.path().string());
    ASSERT_TRUE(wolf);
    EXPECT_EQ(wolf->mimeType, "image/png");
    EXPECT_EQ(std::string(wolf->bytes.begin(), wolf->bytes.end()), png);
    EXPECT_TRUE(recorder.messages().empty());

    folder.Write("bark.jpg", Tga(Stripes(4, 4), false));
    EXPECT_FALSE(ReadPortableTexture("bark.jpg", folder.path().string()));
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text,
              "Ce fichier: bark.jpg n'a pas pu être décodé (Not a JPEG file: starts with 0x00 0x00). Load_Jpeg");
}

}  // namespace

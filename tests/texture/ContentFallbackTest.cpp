#include "TextureTestSupport.h"
#include "texture/PortableTexture.h"
#include "texture/TextureSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace test_images;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<TextureFormat> Sniffed(const std::string& head) { return FormatBySignature(Bytes(head.begin(), head.end())); }

std::vector<std::string> Texts(const std::vector<platform::RecordedMessage>& messages)
{
    std::vector<std::string> texts;
    for (const auto& message : messages) texts.push_back(message.text + " | " + message.caption);
    return texts;
}

TEST(TextureSignature, OnlyWholeSignaturesNameAFormat)
{
    EXPECT_EQ(Sniffed(std::string("\x89PNG\r\n\x1A\n\0\0", 10)), TextureFormat::Png);
    EXPECT_EQ(Sniffed("\xFF\xD8\xFF\xE0"), TextureFormat::Jpeg);
    EXPECT_EQ(Sniffed("BM"), TextureFormat::Bmp);
    EXPECT_EQ(Sniffed("DDS |"), TextureFormat::Dds);
    for (const std::string head : {"", "\x89PNG\r\n\x1A", "\xFF\xD8", "B", "DDS", "P6\n", "bm"})
        EXPECT_EQ(Sniffed(head), std::nullopt) << head;
}

// A PNG named as a JPEG, and a JPEG named as a PNG: refused as ever by the
// extension's reader; read, with no word of the refusal, by the reader of
// their bytes (which sets the texture up its own way) when asked to.
TEST_F(TextureTest, AFileItsExtensionsReaderRefusesGoesToTheReaderItsBytesName)
{
    const Picture picture = Stripes(8, 4, 4);
    const std::string png = Png(picture, PngKind::Rgba);
    const std::string wolf = folder.Write("wolf.jpg", png);
    EXPECT_EQ(texture.DoLoadTexture(wolf), E_FAIL);
    EXPECT_EQ(OnlyMessage(), "Ce fichier: " + wolf + " n'a pas pu être décodé (Not a JPEG file: starts with 0x89 0x50). Load_Jpeg");

    recorder.sink.messages.clear();
    ASSERT_EQ(texture.DoLoadTexture(wolf, "", ReaderChoice::ContentOnRefusal), S_OK);
    EXPECT_TRUE(messages().empty()) << OnlyMessage();
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGBA), picture.pixels);
    EXPECT_EQ(LevelCount(), 1);  // as the PNG reader leaves it
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);

    const std::string sky = folder.Write("sky.png", Jpeg(Blocks(8, 8), JpegKind::Colour));
    ASSERT_EQ(texture.DoLoadTexture(sky, "", ReaderChoice::ContentOnRefusal), S_OK);
    EXPECT_TRUE(messages().empty()) << OnlyMessage();
    Bind();
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);  // as the JPEG reader leaves it
}

// When no other reader takes the file, what its extension's reader said is
// all that is said, exactly as when the extension alone decides.
TEST_F(TextureTest, AFileNoReaderTakesIsToldAsItsExtensionsReaderTellsIt)
{
    const std::string cases[][2] = {
        {"bark.jpg", Tga(Stripes(4, 4), false)},             // no signature
        {"cut.jpg", PngClaiming(64, 64, 100)},               // a PNG the PNG reader refuses too
        {"gone.jpg", ""},                                    // no file
        {"grey.png", Jpeg(Blocks(8, 8), JpegKind::Grey)},    // a JPEG the JPEG reader refuses too
    };
    for (const auto& [name, bytes] : cases) {
        const std::string path = name == "gone.jpg" ? PathOf(name) : folder.Write(name, bytes);
        recorder.sink.messages.clear();
        EXPECT_EQ(texture.DoLoadTexture(path), E_FAIL) << name;
        const auto byExtension = Texts(messages());
        ASSERT_EQ(byExtension.size(), 1u) << name;
        recorder.sink.messages.clear();
        EXPECT_EQ(texture.DoLoadTexture(path, "", ReaderChoice::ContentOnRefusal), E_FAIL) << name;
        EXPECT_EQ(Texts(messages()), byExtension) << name;
    }
}

// The export reads every file by its bytes when its name misleads: a PNG is
// carried out as the PNG it is.
TEST(PortableTexture, AFileIsCarriedOutAsWhatItsBytesAre)
{
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
    const std::string png = Png(Stripes(6, 4, 4), PngKind::Rgba);
    folder.Write("wolf.jpg", png);
    const auto wolf = ReadPortableTexture("wolf.jpg", folder.path().string());
    ASSERT_TRUE(wolf);
    EXPECT_EQ(wolf->mimeType, "image/png");
    EXPECT_EQ(std::string(wolf->bytes.begin(), wolf->bytes.end()), png);
    EXPECT_EQ(wolf->width, 6u);
    EXPECT_TRUE(recorder.messages().empty());

    folder.Write("sky.dds", Jpeg(Blocks(8, 8), JpegKind::Colour));
    const auto sky = ReadPortableTexture("sky.dds", folder.path().string());
    ASSERT_TRUE(sky);
    EXPECT_EQ(sky->mimeType, "image/jpeg");
    EXPECT_TRUE(recorder.messages().empty());

    folder.Write("bark.jpg", Tga(Stripes(4, 4), false));
    EXPECT_FALSE(ReadPortableTexture("bark.jpg", folder.path().string()));
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text,
              "Ce fichier: bark.jpg n'a pas pu être décodé (Not a JPEG file: starts with 0x00 0x00). Load_Jpeg");
}

}  // namespace

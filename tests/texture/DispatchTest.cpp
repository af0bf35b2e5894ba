#include "TextureTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace test_images;

namespace {

const char* const kUnknownFormat =
    "Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture";

TEST_F(TextureTest, PicksTheReaderByTheLastDotOfTheWholeNameIgnoringCase)
{
    const struct {
        std::string name;
        std::string operation;
    } cases[] = {
        {"a.JPG", "Load_Jpeg"}, {"b.Jpeg", "Load_Jpeg"}, {"c.jpg", "Load_Jpeg"}, {"a.b.c.png", "Load_PNG"},
        {"d.TGA", "Load_TGA"},  {"e.bmp", "Load_BMP"},   {"f.PpM", "Load_Ppm"},
    };
    for (const auto& c : cases) {
        recorder.sink.messages.clear();
        const std::string path = PathOf(c.name);  // no such file: the reader says so
        EXPECT_EQ(texture.DoLoadTexture(path), E_FAIL) << c.name;
        EXPECT_EQ(OnlyMessage(), "Ce fichier: " + path + " n'existe pas. " + c.operation) << c.name;
        ASSERT_FALSE(messages().empty());
        EXPECT_EQ(messages()[0].caption, "Erreur");
        EXPECT_EQ(messages()[0].kind, platform::MessageKind::Warning);
    }
    recorder.sink.messages.clear();
    EXPECT_EQ(texture.DoLoadTexture("png", folder.path().string()), E_FAIL);  // no dot: the whole name
    EXPECT_EQ(OnlyMessage(), "Ce fichier: png n'existe pas. Load_PNG");
    recorder.sink.messages.clear();
    EXPECT_EQ(texture.DoLoadTexture(PathOf("g.dds")), E_FAIL);
    EXPECT_EQ(OnlyMessage(), "le fichier " + PathOf("g.dds") + " n'a pas été trouvé, Load_DDS");
    EXPECT_EQ(messages()[0].caption, "ERROR");
}

TEST_F(TextureTest, RefusesNamesWithoutAKnownExtensionBeforeLookingForTheFile)
{
    folder.Write("stone", PpmP6(Stripes(2, 2)));
    for (const std::string name : {"..\\maps\\stone", "picture.", "picture.gif", "", "pic.png.bak"}) {
        recorder.sink.messages.clear();
        EXPECT_EQ(texture.DoLoadTexture(name, folder.path().string()), E_FAIL) << name;
        EXPECT_EQ(OnlyMessage(), kUnknownFormat) << name;
        EXPECT_EQ(messages()[0].caption, "Erreur");
    }
    EXPECT_FALSE(texture.textureId);
}

TEST_F(TextureTest, ReadsTheFileFromTheModelFolderButNamesItAsWritten)
{
    folder.Write("Wood.PPM", PpmP6(Stripes(4, 4)));
    EXPECT_EQ(texture.DoLoadTexture("C:\\art\\wood.ppm", folder.path().string()), S_OK);
    EXPECT_NE(texture.GetTextureId(), 0u);
    folder.Write("textures/wood.ppm", PpmP6(Stripes(4, 4)));
    EXPECT_EQ(texture.DoLoadTexture("textures\\wood.ppm", folder.path().string()), S_OK);
    EXPECT_EQ(texture.DoLoadTexture("textures\\gone.ppm", folder.path().string()), E_FAIL);
    EXPECT_EQ(OnlyMessage(), "Ce fichier: textures\\gone.ppm n'existe pas. Load_Ppm");
}

TEST_F(TextureTest, OnlyRegularFilesAreReadSoAPipeCannotHangTheLoad)
{
    std::filesystem::create_directories(folder.path() / "folder.ppm");
    ASSERT_EQ(mkfifo(PathOf("pipe.tga").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(PathOf("pipe.bmp").c_str(), 0600), 0);
    for (const char* name : {"folder.ppm", "pipe.tga", "pipe.bmp"}) {
        recorder.sink.messages.clear();
        EXPECT_EQ(texture.DoLoadTexture(PathOf(name)), E_FAIL) << name;
        EXPECT_NE(OnlyMessage().find(" n'existe pas. Load_"), std::string::npos) << name;
    }
}

TEST_F(TextureTest, UploadBuildsTheMipmapChainFromPackedRowsAndRestoresTheUnpackState)
{
    // Rows of 6 bytes: with the default alignment of 4 the second row would be read 2 bytes late.
    const Picture picture = Stripes(2, 2);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 7);
    texture.UploadTextureImage(TextureImage{2, 2, 3, picture.pixels}, GL_LINEAR_MIPMAP_LINEAR);

    GLint bound = 0, alignment = 0, rowLength = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.GetTextureId());
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(rowLength, 7);
    EXPECT_EQ(Pixels(0, GL_RGB), picture.pixels);
    EXPECT_EQ(LevelCount(), 2);
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);

    // A second upload replaces the texture and deletes the first one.
    const GLuint first = texture.GetTextureId();
    const Picture rgba = Stripes(4, 1, 4);
    texture.UploadTextureImage(TextureImage{4, 1, 4, rgba.pixels}, GL_LINEAR);
    EXPECT_FALSE(glIsTexture(first) && first != texture.GetTextureId());
    Bind();
    EXPECT_EQ(Pixels(0, GL_RGBA), rgba.pixels);
    EXPECT_EQ(LevelCount(), 3);  // 4x1, 2x1, 1x1
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

TEST_F(TextureTest, ReleaseDeletesTheTextureOnceAndEachObjectLoadsItsOwn)
{
    const std::string bytes = PpmP6(Stripes(2, 2));
    LoadTexture other;
    ASSERT_EQ(Load("same.ppm", bytes), S_OK);
    ASSERT_EQ(other.DoLoadTexture(PathOf("same.ppm")), S_OK);
    const GLuint name = texture.GetTextureId();
    EXPECT_NE(name, other.GetTextureId());

    texture.ReleaseTexture();
    EXPECT_EQ(texture.GetTextureId(), 0u);
    EXPECT_FALSE(texture.textureId);
    EXPECT_FALSE(glIsTexture(name));
    texture.ReleaseTexture();  // nothing left to delete
    EXPECT_TRUE(glIsTexture(other.GetTextureId()));

    LoadTexture moved(std::move(other));
    EXPECT_FALSE(other.textureId);
    EXPECT_TRUE(glIsTexture(moved.GetTextureId()));
}

TEST_F(TextureTest, AVeryLongNameIsShortenedSoTheMessageStillEndsWithTheOperation)
{
    const std::string name = std::string(6000, 'x') + "é.tga";
    EXPECT_EQ(texture.DoLoadTexture(name), E_FAIL);
    ASSERT_EQ(messages().size(), 1u);
    const std::string& text = messages()[0].text;
    EXPECT_LE(text.size(), 4095u);
    EXPECT_EQ(text.rfind("Ce fichier: ...", 0), 0u);
    EXPECT_NE(text.find("xé.tga n'existe pas. Load_TGA"), std::string::npos);
}

}  // namespace

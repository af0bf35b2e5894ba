#include "TestSupport.h"
#include "TextureTestSupport.h"
#include "texture/TexturePath.h"

#include <gtest/gtest.h>

namespace {

class TexturePathTest : public ::testing::Test {
protected:
    TexturePathTest() : inCurrent_(current.path()) {}
    std::string InModel(const std::string& relative) const { return (model.path() / relative).string(); }

    testing_support::TempDir current;  // the process's current folder during the test
    testing_support::TempDir model;    // the ".x" file's folder

private:
    CurrentFolder inCurrent_;
};

TEST_F(TexturePathTest, TriesEachPlaceInOrderAndTakesTheFirstFileThatExists)
{
    const std::string folder = model.path().string();
    // Nothing exists: the name is kept as written, so the reader can name it.
    EXPECT_EQ(ResolveTextureFile("maps\\wood.png", folder), "maps\\wood.png");

    model.Write("wood.png", "4");
    EXPECT_EQ(ResolveTextureFile("C:\\art\\maps\\wood.png", folder), InModel("wood.png"));
    model.Write("maps/wood.png", "3");
    EXPECT_EQ(ResolveTextureFile("maps\\wood.png", folder), InModel("maps/wood.png"));
    current.Write("maps/wood.png", "2");
    EXPECT_EQ(ResolveTextureFile("maps\\wood.png", folder), "maps/wood.png");
    current.Write("maps\\wood.png", "1");  // a Linux file name holding a backslash
    EXPECT_EQ(ResolveTextureFile("maps\\wood.png", folder), "maps\\wood.png");
}

TEST_F(TexturePathTest, AcceptsAFileOfTheSameFolderWhoseNameDiffersOnlyInCase)
{
    const std::string folder = model.path().string();
    current.Write("Stone.PNG", "");
    EXPECT_EQ(ResolveTextureFile("stone.png", folder), "Stone.PNG");

    model.Write("Maps/Brick.Tga", "");
    EXPECT_EQ(ResolveTextureFile("Maps\\BRICK.tga", folder), InModel("Maps/Brick.Tga"));
    // Only the file's own name may differ in case, not its folders.
    EXPECT_EQ(ResolveTextureFile("maps\\brick.tga", folder), "maps\\brick.tga");
    model.Write("BRICK.TGA", "");
    EXPECT_EQ(ResolveTextureFile("maps\\brick.tga", folder), InModel("BRICK.TGA"));
}

TEST_F(TexturePathTest, FoldersDoNotCountAsFilesAndAnEmptyModelFolderIsTheCurrentOne)
{
    std::filesystem::create_directories(current.path() / "tile.png");
    EXPECT_EQ(ResolveTextureFile("tile.png", ""), "tile.png");
    current.Write("sub/tile.ppm", "");
    EXPECT_EQ(ResolveTextureFile("sub\\TILE.ppm", ""), "sub/tile.ppm");
    EXPECT_EQ(ResolveTextureFile("x:\\art\\TILE.ppm", ""), "x:\\art\\TILE.ppm");
    current.Write("tile.ppm", "");
    EXPECT_EQ(ResolveTextureFile("x:\\art\\TILE.ppm", ""), "./tile.ppm");
    EXPECT_EQ(ResolveTextureFile("", model.path().string()), "");
}

TEST(TexturePathCorpus, FindsTheTexturesOfModelsWrittenOnWindows)
{
    const std::string folder = testing_support::CorpusPath("assimp");
    // As the files name them: ".\\test.png" and an absolute path of the author's machine.
    EXPECT_EQ(ResolveTextureFile(".\\\\test.png", folder), folder + "/.//test.png");
    EXPECT_EQ(ResolveTextureFile("C:\\\\code\\\\kwxport\\\\test\\\\data\\\\bottom.tga", folder), folder + "/bottom.tga");
}

}  // namespace

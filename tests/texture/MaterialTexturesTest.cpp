#include "TextureTestSupport.h"
#include "model/Model.h"

#include <gtest/gtest.h>

using namespace test_images;

namespace {

MaterialRecord Material(const std::string& name, const std::string& textureFile)
{
    MaterialRecord material;
    material.name = name;
    material.textureFile = textureFile;
    return material;
}

// Materials as (name, texture file) pairs.
MeshRecord MeshWith(std::initializer_list<std::pair<const char*, const char*>> materials)
{
    MeshRecord mesh;
    mesh.name = "mesh";
    for (const auto& [name, textureFile] : materials) mesh.materials.push_back(Material(name, textureFile));
    return mesh;
}

TEST_F(TextureTest, EveryTexturedMaterialLoadsAndAFailedOneEndsUntextured)
{
    const Picture picture = Stripes(4, 4);
    folder.Write("textures/a.ppm", PpmP6(picture));
    folder.Write("textures/b.tga", Tga(picture, false));
    folder.Write("textures/c.bmp", Bmp24(picture));
    folder.Write("textures/d.jpg", Jpeg(Blocks(8, 8), JpegKind::Colour));
    folder.Write("textures/e.png", Png(picture, PngKind::Rgb));
    folder.Write("textures/f.dds", Dds("DXT1", 4, 4, 1, 8, DxtData(8, 1)));

    Model model;
    model.sourcePath = (folder.path() / "textures" / "scene.x").string();
    model.meshes.push_back(MeshWith({{"ppm", "a.ppm"}, {"plain", ""}, {"tga", "B.TGA"}}));
    model.meshes.push_back(MeshWith({{"bmp", "C:\\art\\c.bmp"}, {"jpg", "d.jpg"},
                                     {"png", ".\\e.png"}, {"dds", "f.dds"},
                                     {"gif", "g.gif"}, {"missing", "h.png"}}));
    ASSERT_EQ(model.CountTexturedMaterials(), 8);
    model.LoadMaterialTextures();

    EXPECT_EQ(model.CountTexturedMaterials(), 6);
    EXPECT_EQ(model.meshes[1].materials[4].textureFile, "");
    EXPECT_EQ(model.meshes[1].materials[5].textureFile, "");
    EXPECT_EQ(model.meshes[1].materials[5].texture.GetTextureId(), 0u);
    EXPECT_EQ(model.meshes[0].materials[2].textureFile, "B.TGA");  // the name is kept as written
    EXPECT_EQ(model.meshes[0].materials[1].texture.textureId, LoadTexture::kNone);
    std::vector<GLuint> names;
    for (const auto& mesh : model.meshes)
        for (const auto& material : mesh.materials)
            if (!material.textureFile.empty()) names.push_back(material.texture.GetTextureId());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    EXPECT_EQ(names.front() != 0, true);

    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text,
              "Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture");
    EXPECT_EQ(messages()[1].text, "Ce fichier: h.png n'existe pas. Load_PNG");

    // Clearing the model deletes every texture.
    const GLuint first = model.meshes[0].materials[0].texture.GetTextureId();
    ASSERT_TRUE(glIsTexture(first));
    model.Clear();
    EXPECT_FALSE(glIsTexture(first));
}

TEST_F(TextureTest, AModelWithoutTexturesLoadsNone)
{
    Model model;
    model.meshes.push_back(MeshWith({{"plain", ""}}));
    model.LoadMaterialTextures();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model.meshes[0].materials[0].texture.textureId, LoadTexture::kNone);
}

TEST_F(TextureTest, TheCubeSampleFindsItsTextureBesideIt)
{
    Model model;
    model.sourcePath = testing_support::SamplePath("cube.x");
    model.meshes.push_back(MeshWith({{"Wood", "pelmora.ppm"}, {"Unnamed", ""}}));
    model.LoadMaterialTextures();
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(model.CountTexturedMaterials(), 1);
    glBindTexture(GL_TEXTURE_2D, model.meshes[0].materials[0].texture.GetTextureId());
    EXPECT_EQ(Level(0).width, 64);
}

}  // namespace

namespace {

// Models as they were written elsewhere: textures named by Windows paths,
// relative to the model's folder, or by a machine's absolute path.
TEST_F(TextureTest, ModelFilesFindAndLoadTheTexturesTheyName)
{
    const struct {
        const char* file;
        int textured;
    } cases[] = {{"assimp/test.x", 1}, {"assimp/kwxport_test_cubewithvcolors.x", 3}, {"irrlicht/earth.x", 1},
                 {"minetest_game/character.x", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Model model;
        ASSERT_EQ(model.ReadFile(testing_support::CorpusPath(c.file)), S_OK) << OnlyMessage();
        model.SortMeshesByOpacity();
        model.LoadMaterialTextures();
        EXPECT_TRUE(messages().empty()) << OnlyMessage();
        EXPECT_EQ(model.CountTexturedMaterials(), c.textured);
        for (const auto& mesh : model.meshes)
            for (const auto& material : mesh.materials)
                if (!material.textureFile.empty()) {
                    EXPECT_TRUE(glIsTexture(material.texture.GetTextureId()));
                }
    }

    Model cube;
    ASSERT_EQ(cube.ReadFile(testing_support::SamplePath("cube.x")), S_OK);
    cube.LoadMaterialTextures();
    EXPECT_EQ(cube.CountTexturedMaterials(), 1);
}

}  // namespace

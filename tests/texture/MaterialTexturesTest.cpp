#include "TextureTestSupport.h"
#include "model/text/TextReader.h"
#include "render/LoadedModel.h"
#include "render/RenderModel.h"
#include "ShowingRefusal.h"

#include <gtest/gtest.h>

#include <algorithm>

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

// The name to bind for material `material` of mesh `mesh`, 0 when it has no texture.
GLuint TextureName(const RenderModel& render, std::size_t mesh, std::size_t material)
{
    const auto& textures = render.meshes.at(mesh).textures;
    return material < textures.size() && textures[material] ? textures[material]->GetTextureId() : 0;
}

int LiveTextures()
{
    int live = 0;
    for (GLuint name = 1; name < 400; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
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
    auto render = std::make_unique<RenderModel>();
    render->LoadMaterialTextures(model);

    EXPECT_EQ(model.CountTexturedMaterials(), 6);
    EXPECT_EQ(model.meshes[1].materials[4].textureFile, "");
    EXPECT_EQ(model.meshes[1].materials[5].textureFile, "");
    EXPECT_EQ(TextureName(*render, 1, 5), 0u);
    EXPECT_EQ(model.meshes[0].materials[2].textureFile, "B.TGA");  // the name is kept as written
    EXPECT_EQ(TextureName(*render, 0, 1), 0u);
    std::vector<GLuint> names;
    for (std::size_t m = 0; m < model.meshes.size(); ++m)
        for (std::size_t k = 0; k < model.meshes[m].materials.size(); ++k)
            if (!model.meshes[m].materials[k].textureFile.empty()) names.push_back(TextureName(*render, m, k));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    EXPECT_NE(names.front(), 0u);

    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text,
              "Ce format de LoadTexture n'est pas reconnu par l'application. LoadTexture::DoLoadTexture");
    EXPECT_EQ(messages()[1].text, "Ce fichier: h.png n'existe pas. Load_PNG");

    // Releasing the drawing data deletes every texture.
    const GLuint first = TextureName(*render, 0, 0);
    ASSERT_TRUE(glIsTexture(first));
    render.reset();
    EXPECT_FALSE(glIsTexture(first));
}

// Names that lead to one file share its texture, made once; a name that
// fails is reported for every material that gives it.
TEST_F(TextureTest, MaterialsNamingOneFileShareOneTexture)
{
    folder.Write("textures/a.ppm", PpmP6(Stripes(4, 4)));
    Model model;
    model.sourcePath = (folder.path() / "textures" / "scene.x").string();
    model.meshes.push_back(MeshWith({{"a", "a.ppm"}, {"b", ".\\a.ppm"}, {"c", "missing.png"}}));
    model.meshes.push_back(MeshWith({{"d", "A.PPM"}, {"e", "missing.png"}, {"f", "a.ppm"}}));
    auto render = std::make_unique<RenderModel>();
    render->LoadMaterialTextures(model);

    const GLuint shared = TextureName(*render, 0, 0);
    ASSERT_NE(shared, 0u);
    for (const auto& [mesh, material] : {std::pair{0, 1}, {1, 0}, {1, 2}})
        EXPECT_EQ(TextureName(*render, mesh, material), shared) << mesh << " " << material;
    EXPECT_EQ(LiveTextures(), 1);
    ASSERT_EQ(messages().size(), 2u);
    for (const auto& message : messages()) EXPECT_EQ(message.text, "Ce fichier: missing.png n'existe pas. Load_PNG");
    EXPECT_EQ(model.meshes[1].materials[1].textureFile, "");

    // The texture goes with the last material that uses it.
    render->meshes[0].textures.clear();
    EXPECT_TRUE(glIsTexture(shared));
    render.reset();
    EXPECT_FALSE(glIsTexture(shared));
}

// A load tells each distinct message once, where it was first told: one
// missing texture named by 17 materials gives one box, not 17.
TEST_F(TextureTest, ALoadTellsARepeatedFaultOnce)
{
    std::string text = "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n"
                       "MeshMaterialList {\n17;\n1;\n0;;\n";
    for (int k = 0; k < 17; ++k)
        text += "Material {\n1;1;1;1;;\n5;\n0;0;0;;\n0;0;0;;\nTextureFilename {\n\"" +
                std::string(k == 9 ? "odd.tga" : "gone.png") + "\";\n}\n}\n";
    const std::string path = folder.Write("many.x", text + "}\n}\n");
    for (int load = 1; load <= 2; ++load) {
        ASSERT_EQ(LoadedModel().Load(path), S_OK);
        ASSERT_EQ(messages().size(), 2u * load);
        EXPECT_EQ(messages()[2 * load - 2].text, "Ce fichier: gone.png n'existe pas. Load_PNG");
        EXPECT_EQ(messages()[2 * load - 1].text, "Ce fichier: odd.tga n'existe pas. Load_TGA");
    }
}

// Only a scene shown as authored has its misnamed texture read by its bytes.
TEST_F(TextureTest, AMisnamedTextureIsReadByItsBytesOnlyAsAuthored)
{
    folder.Write("wolf.jpg", Png(Stripes(4, 4), PngKind::Rgb));
    const std::string path = folder.Write(
        "wolf.x", "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\nMeshMaterialList {\n1;\n1;\n"
                  "0;;\nMaterial {\n1;1;1;1;;\n5;\n0;0;0;;\n0;0;0;;\nTextureFilename {\n\"wolf.jpg\";\n}\n}\n}\n}\n");
    for (const bool asAuthored : {false, true}) {
        LoadedModel loaded;
        ASSERT_EQ(loaded.Load(path, PoseChoice{asAuthored}), S_OK);
        EXPECT_EQ(TextureName(loaded.render, 0, 0) != 0 && loaded.model.CountTexturedMaterials() == 1, asAuthored);
    }
    EXPECT_EQ(OnlyMessage(), "Ce fichier: wolf.jpg n'a pas pu être décodé (Not a JPEG file: starts with 0x89 0x50). Load_Jpeg");
}

TEST_F(TextureTest, AModelWithoutTexturesLoadsNone)
{
    Model model;
    model.meshes.push_back(MeshWith({{"plain", ""}}));
    RenderModel render;
    render.LoadMaterialTextures(model);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(TextureName(render, 0, 0), 0u);
}

TEST_F(TextureTest, TheCubeSampleFindsItsTextureBesideIt)
{
    Model model;
    model.sourcePath = testing_support::SamplePath("cube.x");
    model.meshes.push_back(MeshWith({{"Wood", "pelmora.ppm"}, {"Unnamed", ""}}));
    RenderModel render;
    render.LoadMaterialTextures(model);
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(model.CountTexturedMaterials(), 1);
    glBindTexture(GL_TEXTURE_2D, TextureName(render, 0, 0));
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
        std::optional<Model> model = testing_support::ShowingRefusal(ReadTextFile(testing_support::CorpusPath(c.file)));
        ASSERT_TRUE(model) << OnlyMessage();
        RenderModel render;
        render.LoadMaterialTextures(*model);
        EXPECT_TRUE(messages().empty()) << OnlyMessage();
        EXPECT_EQ(model->CountTexturedMaterials(), c.textured);
        for (std::size_t m = 0; m < model->meshes.size(); ++m)
            for (std::size_t k = 0; k < model->meshes[m].materials.size(); ++k) {
                if (!model->meshes[m].materials[k].textureFile.empty()) {
                    EXPECT_TRUE(glIsTexture(TextureName(render, m, k)));
                }
            }
    }

    std::optional<Model> cube = testing_support::ShowingRefusal(ReadTextFile(testing_support::SamplePath("cube.x")));
    ASSERT_TRUE(cube);
    RenderModel render;
    render.LoadMaterialTextures(*cube);
    EXPECT_EQ(cube->CountTexturedMaterials(), 1);
}

}  // namespace

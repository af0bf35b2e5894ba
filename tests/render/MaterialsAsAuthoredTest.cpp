// As authored, a texture's alpha does not make an opaque material see-through.
#include "TestImages.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using namespace test_images;
using Pixels = std::vector<std::uint8_t>;

constexpr int kSize = 96;
constexpr std::array kAllPaths{DrawPath::Immediate, DrawPath::DisplayList, DrawPath::IndexedArrays, DrawPath::BufferObjects};

// A square facing the camera, textured whole, in a white material naming these textures.
std::string Square(std::initializer_list<const char*> textures)
{
    std::string text = "xof 0303txt 0032\nMesh Square {\n 4;\n -2;-2;0;,\n 2;-2;0;,\n 2;2;0;,\n -2;2;0;;\n 1;\n"
                       " 4;0,1,2,3;;\n MeshTextureCoords {\n  4;\n  0;1;,\n  1;1;,\n  1;0;,\n  0;0;;\n }\n"
                       " MeshMaterialList {\n  1;\n  1;\n  0;;\n Material {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n";
    for (const char* name : textures) text += " TextureFilename { \"" + std::string(name) + "\"; }\n";
    return text + "}\n }\n}\n";
}

std::string FlatPng(std::uint8_t alpha)
{
    Picture picture{4, 4, 4, {}};
    for (int k = 0; k < 16; ++k) picture.pixels.insert(picture.pixels.end(), {200, 60, 40, alpha});
    return Png(picture, PngKind::Rgba);
}

std::string RedDxt5(std::uint8_t alpha)  // one block: both alpha ends, colour 0xF800, indices 0
{
    std::string block(16, '\0');
    block[0] = block[1] = static_cast<char>(alpha), block[9] = static_cast<char>(0xF8);
    return Dds("DXT5", 4, 4, 1, 16, block);
}

class MaterialsAsAuthored : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(context.Ok()) << context.Error();
        InitGL(kSize, kSize);
        glDisable(GL_CULL_FACE);
    }

    // The square's RGB on that path (alpha cleared), as authored or as read.
    Pixels Draw(const std::string& text, bool asAuthored, DrawPath path)
    {
        LoadedModel loaded;
        EXPECT_EQ(loaded.Load(folder.Write("scene.x", text), PoseChoice{asAuthored}), S_OK);
        ViewOptions options;
        SelectPath(options, path);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options, 0, 0);
        glFinish();
        Pixels rgba = context.ReadPixels();
        for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 0;  // what shows, whatever alpha is written
        return rgba;
    }

    // As authored `tested` draws as the opaque `reference` on every path; as read it does not.
    void ExpectOpaqueOnlyAsAuthored(const std::string& tested, const std::string& reference)
    {
        for (const DrawPath path : kAllPaths)
            for (const bool asAuthored : {true, false}) {
                const Pixels expected = Draw(reference, asAuthored, path);
                EXPECT_FALSE(std::equal(&expected[0], &expected[3], &expected[(kSize / 2 * kSize + kSize / 2) * 4]));
                EXPECT_EQ(Draw(tested, asAuthored, path) == expected, asAuthored)
                    << "as authored " << asAuthored << ", path " << static_cast<int>(path);
            }
    }

    platform::HeadlessContext context{kSize, kSize};
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
};

// The invisible character: a missing diffuse texture, then a normal map of alpha 0.
TEST_F(MaterialsAsAuthored, AMissingDiffuseBeforeANormalMapIsDrawnOpaque)
{
    folder.Write("normal.png", FlatPng(0));
    ExpectOpaqueOnlyAsAuthored(Square({"missing.png", "normal.png"}), Square({}));
}

// The ghosts: a gloss mask kept in the texture's alpha, PNG or DXT5.
TEST_F(MaterialsAsAuthored, AGlossMaskInAlphaIsDrawnOpaque)
{
    folder.Write("gloss.png", FlatPng(128));
    folder.Write("solid.png", FlatPng(255));
    ExpectOpaqueOnlyAsAuthored(Square({"gloss.png"}), Square({"solid.png"}));
    folder.Write("gloss.dds", RedDxt5(128));
    folder.Write("solid.dds", RedDxt5(255));
    ExpectOpaqueOnlyAsAuthored(Square({"gloss.dds"}), Square({"solid.dds"}));
}

}  // namespace

// Materials drawn as their author made them: the first texture name is the
// diffuse texture, and transparency follows the material (its alpha, a
// cut-out texture), not whatever a texture keeps in its alpha. Drawn as read,
// nothing of this applies. Also the texture report and the normals' length.
#include "TestImages.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

namespace {

using namespace test_images;
using Pixels = std::vector<std::uint8_t>;

constexpr int kSize = 96;
constexpr std::array kAllPaths{DrawPath::Immediate, DrawPath::DisplayList, DrawPath::IndexedArrays,
                               DrawPath::BufferObjects};

// A square facing the camera, the whole texture on it, in a material of
// that colour naming these textures, in order.
std::string Square(std::initializer_list<const char*> textures, const char* face = "1;1;1;1;;")
{
    std::string text = "xof 0303txt 0032\nMesh Square {\n 4;\n -2;-2;0;,\n 2;-2;0;,\n 2;2;0;,\n -2;2;0;;\n 1;\n"
                       " 4;0,1,2,3;;\n MeshTextureCoords {\n  4;\n  0;1;,\n  1;1;,\n  1;0;,\n  0;0;;\n }\n"
                       " MeshMaterialList {\n  1;\n  1;\n  0;;\n Material {\n " + std::string(face) + "\n 1;\n 0;0;0;;\n 0;0;0;;\n";
    for (const char* name : textures) text += " TextureFilename { \"" + std::string(name) + "\"; }\n";
    return text + "}\n }\n}\n";
}

Picture Flat(std::uint32_t side, std::array<std::uint8_t, 3> colour, std::uint8_t alpha)
{
    Picture picture{side, side, 4, {}};
    for (std::uint32_t k = 0; k < side * side; ++k) picture.pixels.insert(picture.pixels.end(), {colour[0], colour[1], colour[2], alpha});
    return picture;
}

// One 4x4 DXT5 block: every texel pure red, of that alpha.
std::string RedDxt5(std::uint8_t alpha)
{
    std::string block(16, '\0');
    block[0] = block[1] = static_cast<char>(alpha);  // both alpha ends; indices 0
    block[9] = static_cast<char>(0xF8);               // first colour 0xF800; indices 0
    return Dds("DXT5", 4, 4, 1, 16, block);
}

class MaterialsAsAuthored : public ::testing::Test {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kSize, kSize);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kSize, kSize);
        glDisable(GL_CULL_FACE);  // what is drawn, not which side of it
    }

    std::unique_ptr<LoadedModel> Load(const std::string& text, bool asAuthored)
    {
        auto loaded = std::make_unique<LoadedModel>();
        EXPECT_EQ(loaded->Load(folder.Write("scene.x", text), PoseChoice{asAuthored}), S_OK);
        return loaded;
    }

    // RGBA, alpha cleared unless kept; the pixels differing from the corner's are the square's.
    Pixels Draw(const LoadedModel& loaded, DrawPath path, bool keepAlpha = false)
    {
        ViewOptions options;
        SelectPath(options, path);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, options, 0, 0);
        glFinish();
        Pixels rgba = context->ReadPixels();
        for (std::size_t i = 3; i < rgba.size() && !keepAlpha; i += 4) rgba[i] = 0;
        return rgba;
    }
    static int Covered(const Pixels& rgba)
    {
        int covered = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4) covered += !std::equal(&rgba[i], &rgba[i] + 3, rgba.begin());
        return covered;
    }

    // As authored, `tested` draws as `reference` along every path, written
    // opaque, and leaves no alpha test behind; as read, it differs.
    void ExpectAuthoredAsReadDiffers(const std::string& tested, const std::string& reference)
    {
        for (const bool asAuthored : {true, false}) {
            const auto a = Load(tested, asAuthored);
            const auto b = Load(reference, asAuthored);
            for (const DrawPath path : kAllPaths) {
                const Pixels expected = Draw(*b, path);
                Pixels got = Draw(*a, path, true);
                ASSERT_GT(Covered(expected), 500);
                if (asAuthored) {
                    EXPECT_EQ(got[(64 * kSize + 60) * 4 + 3], 255);  // off a cut-out's edges
                }
                for (std::size_t i = 3; i < got.size(); i += 4) got[i] = 0;
                EXPECT_EQ(got == expected, asAuthored) << "as authored " << asAuthored << ", path " << static_cast<int>(path);
                EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
            }
        }
    }

    std::unique_ptr<platform::HeadlessContext> context;
    testing_support::TempDir folder;
    testing_support::MessageRecorder recorder;
};

// A missing diffuse texture, then a normal map whose alpha is 0 everywhere:
// as read the last name is drawn, and its alpha hides the square.
TEST_F(MaterialsAsAuthored, TheFirstTextureNameIsTheDiffuseOne)
{
    folder.Write("normal.png", Png(Flat(4, {128, 128, 255}, 0), PngKind::Rgba));
    const std::string twoNames = Square({"missing.png", "normal.png"}, "0.8;0.3;0.2;1;;");
    for (const DrawPath path : kAllPaths) {
        const Pixels drawn = Draw(*Load(twoNames, true), path);
        EXPECT_GT(Covered(drawn), 500) << static_cast<int>(path);
        EXPECT_TRUE(drawn == Draw(*Load(Square({}, "0.8;0.3;0.2;1;;"), true), path)) << static_cast<int>(path);
        EXPECT_EQ(Covered(Draw(*Load(twoNames, false), path)), 0) << static_cast<int>(path);
    }
    const auto authored = Load(twoNames, true);
    const TextureReport* report = authored->render.TextureReportOf(0, 0);
    ASSERT_TRUE(report && !report->messages.empty());
    EXPECT_EQ(report->loadedName, "missing.png");
    EXPECT_NE(report->messages[0].text.find("missing.png"), std::string::npos) << report->messages[0].text;
    EXPECT_EQ(Load(twoNames, false)->render.TextureReportOf(0, 0)->loadedName, "normal.png");
}

// A gloss mask kept in a texture's alpha, on an opaque material, PNG or DXT5.
TEST_F(MaterialsAsAuthored, AGlossMaskInAlphaIsDrawnOpaque)
{
    folder.Write("gloss.png", Png(Flat(4, {200, 60, 40}, 128), PngKind::Rgba));
    folder.Write("solid.png", Png(Flat(4, {200, 60, 40}, 255), PngKind::Rgba));
    ExpectAuthoredAsReadDiffers(Square({"gloss.png"}), Square({"solid.png"}));
    folder.Write("gloss.dds", RedDxt5(128));
    folder.Write("solid.dds", RedDxt5(255));
    ExpectAuthoredAsReadDiffers(Square({"gloss.dds"}), Square({"solid.dds"}));
}

// A cut-out (left half transparent, right half opaque) with a few texels
// of alpha 200: masked at one half, they show as if opaque.
TEST_F(MaterialsAsAuthored, ACutOutMasksAndATranslucentMaterialStillBlends)
{
    auto cutOut = [](std::uint8_t partial) {
        Picture picture = Flat(16, {60, 200, 90}, 255);
        for (std::uint32_t y = 0; y < 16; ++y)
            for (std::uint32_t x = 0; x < 16; ++x)
                picture.At(x, y)[3] = x < 8 ? 0 : x >= 11 && x < 14 && y >= 6 && y < 10 ? partial : 255;
        return Png(picture, PngKind::Rgba);
    };
    folder.Write("cut.png", cutOut(200));
    folder.Write("binary.png", cutOut(255));
    ExpectAuthoredAsReadDiffers(Square({"cut.png"}), Square({"binary.png"}));

    folder.Write("solid.png", Png(Flat(4, {200, 60, 40}, 255), PngKind::Rgba));
    const auto translucent = Load(Square({"solid.png"}, "1;1;1;0.5;;"), true);
    const auto opaque = Load(Square({"solid.png"}), true);
    for (const DrawPath path : kAllPaths) EXPECT_FALSE(Draw(*translucent, path) == Draw(*opaque, path));
}

// Two squares in two meshes, 1.2 wide and 0.4 high together; the normals'
// lines caught by OpenGL's feedback, lengths taken back to model units.
TEST_F(MaterialsAsAuthored, NormalsAreAFiftiethOfTheModelsDiagonal)
{
    auto square = [](float left) {
        const std::string l = std::to_string(left), r = std::to_string(left + 0.4f);
        return "Mesh {\n 4;\n " + l + ";-0.2;0;,\n " + r + ";-0.2;0;,\n " + r + ";0.2;0;,\n " + l + ";0.2;0;;\n 1;\n"
               " 4;0,1,2,3;;\n}\n";
    };
    for (const bool asAuthored : {true, false}) {
        LoadedModel loaded;
        ASSERT_EQ(loaded.LoadFromMemory("n.x", "xof 0303txt 0032\n" + square(-0.6f) + square(0.2f), PoseChoice{asAuthored}), S_OK);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        std::vector<GLfloat> feedback(4096);
        glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D, feedback.data());
        glRenderMode(GL_FEEDBACK);
        loaded.render.DrawNormals(loaded.model);
        const GLint used = glRenderMode(GL_RENDER);
        const double expected = asAuthored ? std::sqrt(1.2 * 1.2 + 0.4 * 0.4) / 50 : 1.0;
        EXPECT_EQ(used, 8 * 7);
        for (GLint i = 0; i + 6 < used; i += 7) {
            const float* a = &feedback[i + 1];
            const float* b = &feedback[i + 4];
            // Window units back to model units: x and y over kSize / 2, depth over 1 / 2.
            const double dx = (b[0] - a[0]) * 2.0 / kSize, dy = (b[1] - a[1]) * 2.0 / kSize, dz = (b[2] - a[2]) * 2.0;
            EXPECT_NEAR(std::hypot(dx, dy, dz), expected, 1e-4) << "as authored " << asAuthored;
        }
    }
}

}  // namespace

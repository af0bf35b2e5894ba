#include "MeshBuilder.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>

namespace {

using render_testing::AddSquare;
using render_testing::MakeMesh;
using Pixels = std::vector<std::uint8_t>;

constexpr int kSize = 96;
enum class Path { Immediate, List, Arrays, Buffers };
constexpr std::array kAllPaths{Path::Immediate, Path::List, Path::Arrays, Path::Buffers};

ViewOptions OptionsFor(Path path)
{
    ViewOptions options;
    options.useDisplayList = path == Path::List;
    options.useIndexedArrays = path == Path::Arrays;
    options.useBufferObjects = path == Path::Buffers;
    return options;
}

class DrawPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kSize, kSize);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kSize, kSize);
    }
    void TearDown() override
    {
        loaded.reset();
        context.reset();
    }

    Pixels Draw(const ViewOptions& options, float angleX = 0, float angleY = 0)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(loaded.get(), options, angleX, angleY);
        glFinish();
        return context->ReadPixels();
    }
    Pixels Draw(Path path) { return Draw(OptionsFor(path)); }

    static std::array<std::uint8_t, 4> At(const Pixels& pixels, int x, int y)
    {
        const std::size_t i = (static_cast<std::size_t>(y) * kSize + x) * 4;
        return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
    }
    static int CountCovered(const Pixels& pixels)
    {
        int covered = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) covered += At(pixels, x, y) != At(pixels, 0, 0) ? 1 : 0;
        return covered;
    }
    // Columns of the pixels where two pictures differ.
    static std::vector<int> DifferingColumns(const Pixels& a, const Pixels& b)
    {
        std::vector<int> columns;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (At(a, x, y) != At(b, x, y)) columns.push_back(x);
        return columns;
    }

    std::unique_ptr<platform::HeadlessContext> context;
    std::unique_ptr<LoadedModel> loaded = std::make_unique<LoadedModel>();
};

// Twelve meshes of two white squares, red then plain in the even meshes, plain then red in the odd.
void FillRoom(LoadedModel& loaded)
{
    const auto red = std::make_shared<LoadTexture>();
    GLuint name = 0;
    glGenTextures(1, &name);
    red->textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::uint8_t texel[] = {255, 0, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    loaded.render.meshes.resize(12);
    for (std::size_t i = 0; i < 12; ++i) {
        const bool texturedFirst = i % 2 == 0;
        MeshRecord mesh = MakeMesh({}, {}, {}, {{{1, 1, 1, 1}, texturedFirst ? "red.ppm" : ""},
                                              {{1, 1, 1, 1}, texturedFirst ? "" : "red.ppm"}});
        const float x = -3.3f + 2.2f * static_cast<float>(i % 3), y = -2.6f + 1.4f * static_cast<float>(i / 3);
        AddSquare(mesh, x, y, x + 0.8f, y + 0.8f, 0, 0);
        AddSquare(mesh, x + 1.0f, y, x + 1.8f, y + 0.8f, 0, 1);
        loaded.model.meshes.push_back(std::move(mesh));
        loaded.render.meshes[i].textures = {texturedFirst ? red : nullptr, texturedFirst ? nullptr : red};
    }
    loaded.render.ComputeBoundingBoxes(loaded.model);
    loaded.model.TriangulateFaces();
    loaded.ComputeNormals();
    loaded.render.BuildDisplayList(loaded.model);
}

TEST_F(DrawPaths, OpaqueModelsLookTheSameOnEveryPath)
{
    testing_support::MessageRecorder recorder;
    MeshRecord front = MakeMesh({}, {}, {}, {{{1, 0, 0, 1}}, {{0, 1, 0, 1}}, {{0, 0, 1, 1}}, {{1, 1, 0, 1}}});
    AddSquare(front, -3, -3, -0.5f, 0, 0, 1);
    AddSquare(front, 0.5f, -3, 3, -0.5f, 0.5f, 0);
    front.vertices.insert(front.vertices.end(), {{-2, 0.5f, 1}, {2, 0.5f, -1}, {0, 3, 0}});
    front.faces.Append(std::vector<std::int32_t>{8, 9, 10});
    front.faces.Append(std::vector<std::int32_t>{8, 9});  // too short to draw
    front.faceMaterials->insert(front.faceMaterials->end(), {2, 2});
    loaded->model.meshes.push_back(std::move(front));
    loaded->model.meshes.push_back(MakeMesh({}, {}, {}, {{}}));  // no vertices at all
    MeshRecord back = MakeMesh({{-3, -1, -1}, {3, -1, -1}, {3.5f, 1, -1}, {0, 2.5f, -1}, {-3.5f, 1, -1}},
                               {{0, 1, 2, 3, 4}}, {0}, {{{0.8f, 0.8f, 0.8f, 1}}});
    loaded->model.meshes.push_back(std::move(back));
    PrepareLoadedModel(*loaded);
    ASSERT_TRUE(recorder.messages().empty());
    ASSERT_TRUE(loaded->render.buffersReady);

    const Pixels immediate = Draw(Path::Immediate);
    EXPECT_GT(CountCovered(immediate), kSize * kSize / 4);
    for (Path path : kAllPaths) EXPECT_TRUE(Draw(path) == immediate) << "path " << static_cast<int>(path);

    // Each path leaves no texture, no buffer and the default colours current.
    for (Path path : kAllPaths) {
        Draw(path);
        GLint texture = -1, buffer = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &buffer);
        EXPECT_EQ(texture, 0);
        EXPECT_EQ(buffer, 0);
        std::array<float, 4> diffuse{};
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse.data());
        EXPECT_EQ(diffuse, (std::array<float, 4>{1, 1, 1, 1}));
    }

    // The display list follows the normals commands.
    loaded->InvertNormals();
    const Pixels inverted = Draw(Path::Immediate);
    EXPECT_FALSE(inverted == immediate);
    for (Path path : kAllPaths) EXPECT_TRUE(Draw(path) == inverted) << "path " << static_cast<int>(path);
}

// Squares side by side: untextured, textured, untextured, in face order.
TEST_F(DrawPaths, AnUntexturedMaterialKeepsTheTextureOfTheMaterialBeforeIt)
{
    MeshRecord mesh = MakeMesh({}, {}, {}, {{{1, 1, 1, 1}, "red.ppm"}, {}});
    AddSquare(mesh, -3, -1, -1.2f, 1, 0, 1);
    AddSquare(mesh, -0.8f, -1, 0.8f, 1, 0, 0);
    AddSquare(mesh, 1.2f, -1, 3, 1, 0, 1);
    auto texture = std::make_shared<LoadTexture>();
    GLuint name = 0;
    glGenTextures(1, &name);
    texture->textureId = platform::GlName(platform::GlObjectKind::Texture, name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::uint8_t red[] = {255, 0, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, red);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    loaded->model.meshes.push_back(std::move(mesh));
    loaded->render.meshes.resize(1);
    loaded->render.meshes[0].textures = {texture, nullptr};
    loaded->render.ComputeBoundingBoxes(loaded->model);
    loaded->model.TriangulateFaces();
    loaded->ComputeNormals();
    loaded->render.BuildDisplayList(loaded->model);

    const Pixels faceByFace = Draw(Path::Immediate);
    const Pixels byMaterial = Draw(Path::Arrays);
    EXPECT_TRUE(Draw(Path::List) == faceByFace);
    EXPECT_TRUE(Draw(Path::Buffers) == byMaterial);
    // Only the first square differs: drawn before any texture face by face,
    // after the textured material when drawn material by material.
    const std::vector<int> columns = DifferingColumns(faceByFace, byMaterial);
    EXPECT_GT(columns.size(), 100u);
    for (int x : columns) ASSERT_LT(x, 38);
    const auto plain = At(faceByFace, 25, kSize / 2), tinted = At(byMaterial, 25, kSize / 2);
    EXPECT_GT(plain[1], 100);
    EXPECT_EQ(tinted[1], 0);
    EXPECT_GT(tinted[0], 100);
}

// Two overlapping half-transparent squares; the nearer one comes first in
// face order but second in material order.
TEST_F(DrawPaths, TranslucentFacesBlendInTheOrderOfTheirPath)
{
    MeshRecord mesh = MakeMesh({}, {}, {}, {{{0, 0, 1, 0.5f}}, {{1, 0, 0, 0.5f}}});
    AddSquare(mesh, -1.5f, -1, 0.5f, 1, 0.5f, 1);
    AddSquare(mesh, -0.5f, -1, 1.5f, 1, 0, 0);
    loaded->model.meshes.push_back(std::move(mesh));
    PrepareLoadedModel(*loaded);

    const Pixels faceByFace = Draw(Path::Immediate);
    const Pixels byMaterial = Draw(Path::Buffers);
    EXPECT_TRUE(Draw(Path::List) == faceByFace);
    EXPECT_TRUE(Draw(Path::Arrays) == byMaterial);
    const std::vector<int> columns = DifferingColumns(faceByFace, byMaterial);
    EXPECT_GT(columns.size(), 100u);
    for (int x : columns) {
        ASSERT_GE(x, 40);
        ASSERT_LE(x, 56);
    }
}

TEST_F(DrawPaths, AMeshWithoutMaterialsIsDrawnOnlyFaceByFace)
{
    MeshRecord mesh = MakeMesh({}, {}, {}, {});
    AddSquare(mesh, -1, -1, 1, 1, 0, 0);  // its face sits on a material that does not exist
    loaded->model.meshes.push_back(std::move(mesh));
    PrepareLoadedModel(*loaded);
    EXPECT_GT(CountCovered(Draw(Path::Immediate)), 100);
    EXPECT_GT(CountCovered(Draw(Path::List)), 100);
    EXPECT_EQ(CountCovered(Draw(Path::Arrays)), 0);
    EXPECT_EQ(CountCovered(Draw(Path::Buffers)), 0);
}

TEST_F(DrawPaths, SceneTakesTheFirstPathSwitchedOnAndTurnsAboutXThenY)
{
    // A triangle that faces -X above the origin: turned 90 degrees about X,
    // then about Y, it faces the camera right of the centre.
    loaded->model.meshes.push_back(
        MakeMesh({{0, 1.5f, -0.5f}, {0, 1.5f, 0.5f}, {0, 2.5f, 0}}, {{0, 1, 2}}, {0}, {{{1, 0, 0, 1}}}));
    loaded->render.ComputeBoundingBoxes(loaded->model);
    loaded->ComputeNormals();  // render arrays and buffers, but no display list

    const Pixels turned = Draw(OptionsFor(Path::Arrays), 90, 90);
    EXPECT_GT(CountCovered(turned), 20);
    for (int x : DifferingColumns(turned, Draw(ViewOptions{false, true, false}, 0, 0))) EXPECT_GT(x, kSize / 2);

    EXPECT_EQ(CountCovered(Draw(ViewOptions{true, true, true}, 90, 90)), 0);  // the list wins and there is none
    loaded->render.buffersReady = false;
    EXPECT_TRUE(Draw(ViewOptions{false, true, true}, 90, 90) == turned);  // arrays win over buffers
    EXPECT_TRUE(Draw(ViewOptions{false, false, false}, 90, 90) == turned);
}

TEST_F(DrawPaths, NormalsAndBoxesInEveryPolygonMode)
{
    MeshRecord mesh = MakeMesh({}, {}, {}, {{}});
    AddSquare(mesh, -1, -1, 1, 1, 0, 0);
    mesh.vertices.push_back({2, 2, 2});  // a vertex of no face: its normal is zero
    loaded->model.meshes.push_back(std::move(mesh));
    PrepareLoadedModel(*loaded);

    auto isYellow = [](std::array<std::uint8_t, 4> p) { return p[0] > 200 && p[1] > 200 && p[2] < 50; };
    int coveredByBox[3] = {};
    const GLenum modes[3] = {GL_FILL, GL_LINE, GL_POINT};
    for (int m = 0; m < 3; ++m) {
        glPolygonMode(GL_FRONT_AND_BACK, modes[m]);
        for (bool lit : {true, false}) {
            lit ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
            ViewOptions options;
            options.drawNormals = true;
            options.drawBoundingBox = true;
            const Pixels pixels = Draw(options, 0, 60);  // turned, so that the unit normals show their length
            int yellow = 0;
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x) yellow += isYellow(At(pixels, x, y)) ? 1 : 0;
            EXPECT_GT(yellow, 20) << "mode " << m;
            EXPECT_EQ(glIsEnabled(GL_LIGHTING), lit ? GL_TRUE : GL_FALSE);
            EXPECT_EQ(glIsEnabled(GL_COLOR_MATERIAL), GL_FALSE);
            std::array<float, 4> colour{};
            glGetFloatv(GL_CURRENT_COLOR, colour.data());
            EXPECT_EQ(colour, (std::array<float, 4>{1, 1, 1, 1}));
            if (lit) coveredByBox[m] = CountCovered(pixels);
        }
        // Filled, the half-transparent box tints the square orange at the centre.
        const auto centre = At(Draw(ViewOptions{false, false, false, false, true}), kSize / 2, kSize / 2);
        if (modes[m] == GL_FILL) {
            EXPECT_GT(centre[0], centre[1]);
            EXPECT_GT(centre[1], centre[2]);
        } else {
            EXPECT_EQ(centre, At(Draw(Path::Buffers), 0, 0));
        }
    }
    EXPECT_GT(coveredByBox[0], coveredByBox[1]);
    EXPECT_GT(coveredByBox[1], coveredByBox[2]);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Each mesh starts untextured: the odd meshes' plain squares are not red.
TEST_F(DrawPaths, ManyMeshesLookTheSameOnEveryPathAndEachStartsUntextured)
{
    FillRoom(*loaded);
    const Pixels immediate = Draw(Path::Immediate);
    for (Path path : kAllPaths) EXPECT_TRUE(Draw(path) == immediate) << "path " << static_cast<int>(path);
    int plain = 0, red = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const auto p = At(immediate, x, y);
            plain += p != At(immediate, 0, 0) && p[0] > 100 && p[1] > 100 ? 1 : 0;
            red += p[0] > 100 && p[1] == 0 ? 1 : 0;
        }
    EXPECT_GT(plain, 6 * 60);
    EXPECT_NEAR(red, 3 * plain, plain / 2);
}

// Hidden meshes leave the background where they were, on every path, until shown again.
TEST_F(DrawPaths, AHiddenMeshIsGoneInEveryPathUntilShownAgain)
{
    FillRoom(*loaded);
    const Pixels whole = Draw(Path::Immediate);
    for (std::size_t hidden : {4u, 6u}) loaded->SetMeshShown(hidden, false);
    const Pixels without = Draw(Path::Immediate);
    int gone = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (At(without, x, y) != At(whole, x, y)) {
                EXPECT_EQ(At(without, x, y), At(whole, 0, 0)) << x << "," << y;
                ++gone;
            }
    EXPECT_GT(gone, 4 * 60);
    EXPECT_LT(gone, CountCovered(whole) / 4);
    for (Path path : kAllPaths) EXPECT_TRUE(Draw(path) == without) << "path " << static_cast<int>(path);
    for (std::size_t shown : {4u, 6u}) loaded->SetMeshShown(shown, true);
    for (Path path : kAllPaths) EXPECT_TRUE(Draw(path) == whole) << "path " << static_cast<int>(path);
}

}  // namespace

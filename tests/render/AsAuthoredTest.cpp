// The scene as its author made it: meshes placed by their frames and bones,
// in OpenGL's handedness, and a view fitted to the whole model.
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

constexpr int kSize = 96;
using Pixels = std::vector<std::uint8_t>;

const char* const kFirstLine = "xof 0303txt 0032\n";

std::string Matrix(const std::array<float, 16>& m)
{
    std::string text = " FrameTransformMatrix {\n ";
    for (int k = 0; k < 16; ++k) text += std::to_string(m[k]) + (k == 15 ? ";;\n }\n" : ",");
    return text;
}

// A mesh of those vertices, one face per list of corners, untextured.
std::string MeshText(const std::vector<std::array<float, 3>>& vertices, const std::vector<std::vector<int>>& faces,
                     const std::string& inside = {})
{
    std::string text = "Mesh M {\n " + std::to_string(vertices.size()) + ";\n";
    for (std::size_t k = 0; k < vertices.size(); ++k)
        text += " " + std::to_string(vertices[k][0]) + ";" + std::to_string(vertices[k][1]) + ";" +
                std::to_string(vertices[k][2]) + (k + 1 < vertices.size() ? ";,\n" : ";;\n");
    text += " " + std::to_string(faces.size()) + ";\n";
    for (std::size_t f = 0; f < faces.size(); ++f) {
        text += " " + std::to_string(faces[f].size()) + ";";
        for (std::size_t c = 0; c < faces[f].size(); ++c) text += std::to_string(faces[f][c]) + (c + 1 < faces[f].size() ? "," : ";");
        text += f + 1 < faces.size() ? ",\n" : ";\n";
    }
    return text + inside + "}\n";
}

class AsAuthored : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kSize, kSize);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kSize, kSize);
        glDisable(GL_CULL_FACE);  // what is drawn, not which side of it
    }

    Pixels Draw(const std::string& text, bool asAuthored, float yaw = 0, const ViewFrame& frame = {},
                float distance = kStartCameraDistance)
    {
        LoadedModel loaded;
        EXPECT_EQ(loaded.LoadFromMemory("scene.x", std::string(kFirstLine) + text, PoseChoice{asAuthored}), S_OK);
        SetPerspective(kSize, kSize, frame, distance);
        AimCamera(distance);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, ViewOptions{}, 0, yaw, frame.centre);
        glFinish();
        return context->ReadPixels();
    }

    static std::array<std::uint8_t, 3> At(const Pixels& pixels, int x, int y)
    {
        const std::size_t i = (static_cast<std::size_t>(y) * kSize + x) * 4;
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    static int Covered(const Pixels& pixels)
    {
        int covered = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) covered += At(pixels, x, y) != At(pixels, 0, 0);
        return covered;
    }
};

// Rows of a DirectX matrix: a quarter turn about z, then a move.
constexpr std::array<float, 16> kTurnAndMove{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 0.5f, 0, 1};
constexpr std::array<float, 16> kMove{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -0.5f, 0, 0, 1};

TEST_F(AsAuthored, FramesPlaceTheirMeshesAsTheirMatricesSay)
{
    // A child frame turned and moved inside a moved parent; the same
    // geometry written out where the two frames put it:
    // (x, y) -> (-y + 1, x + 0.5) -> (-y + 0.5, x + 0.5).
    const std::vector<std::vector<int>> faces{{0, 1, 2}, {0, 2, 3}};
    const std::string framed = "Frame Parent {\n" + Matrix(kMove) + "Frame Child {\n" + Matrix(kTurnAndMove) +
                               MeshText({{0, 0, 0}, {1, 0, 0}, {1, 2, 0}, {0, 2, 0}}, faces) + "}\n}\n";
    const std::string placed = MeshText({{0.5f, 0.5f, 0}, {0.5f, 1.5f, 0}, {-1.5f, 1.5f, 0}, {-1.5f, 0.5f, 0}}, faces);

    const Pixels authored = Draw(framed, true);
    EXPECT_GT(Covered(authored), 100);
    EXPECT_TRUE(authored == Draw(placed, true));
    EXPECT_FALSE(Draw(framed, false) == authored);  // as read, the frames are not there
}

TEST_F(AsAuthored, ASkinnedMeshTakesThePoseOfItsBones)
{
    // Two bones: the lower one where it stands, the upper one turned a quarter
    // about z around the joint at y = 1. Each vertex goes with its bone, the
    // middle ones half with each.
    const std::array<float, 16> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Upper bone's world: move the joint to the origin, turn, move back.
    const std::array<float, 16> bend{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1};
    auto skin = [&](const char* bone, const std::vector<int>& vertices, const std::vector<float>& weights) {
        std::string text = " SkinWeights {\n \"" + std::string(bone) + "\";\n " + std::to_string(vertices.size()) + ";\n ";
        for (std::size_t k = 0; k < vertices.size(); ++k) text += std::to_string(vertices[k]) + (k + 1 < vertices.size() ? "," : ";\n ");
        for (std::size_t k = 0; k < weights.size(); ++k) text += std::to_string(weights[k]) + (k + 1 < weights.size() ? "," : ";\n ");
        for (int k = 0; k < 16; ++k) text += std::to_string(identity[k]) + (k == 15 ? ";;\n }\n" : ",");
        return text;
    };
    const std::vector<std::vector<int>> faces{{0, 1, 3, 2}, {2, 3, 5, 4}};
    const std::string skinned = "Frame Lower {\n" + Matrix(identity) + "}\nFrame Upper {\n" + Matrix(bend) + "}\n" +
                                MeshText({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 2, 0}, {1, 2, 0}}, faces,
                                         skin("Lower", {0, 1, 2, 3}, {1, 1, 0.5f, 0.5f}) +
                                             skin("Upper", {2, 3, 4, 5}, {0.5f, 0.5f, 1, 1}));
    // (x, y) under the upper bone: (-y + 1, x + 1). Half and half for the joint.
    const std::string bent = MeshText({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0.5f, 1.5f, 0}, {-1, 1, 0}, {-1, 2, 0}}, faces);

    const Pixels authored = Draw(skinned, true);
    EXPECT_GT(Covered(authored), 100);
    EXPECT_TRUE(authored == Draw(bent, true));
}

// A quad standing in the plane x = 0, its face toward -x, red where z < 0,
// blue where z > 0, seen from its face after a quarter turn: DirectX's
// viewer sees the red on the right.
TEST_F(AsAuthored, TheMirrorTurnsLetteringTheRightWayRound)
{
    testing_support::TempDir folder;
    folder.Write("two.ppm", std::string("P6\n2 1\n255\n") + std::string("\xff\x00\x00\x00\x00\xff", 6));
    const std::string quad =
        MeshText({{0, -1, -1}, {0, -1, 1}, {0, 1, 1}, {0, 1, -1}}, {{0, 1, 2, 3}},
                 " MeshTextureCoords {\n 4;\n 0;1;,\n 1;1;,\n 1;0;,\n 0;0;;\n }\n"
                 " MeshMaterialList {\n 1;\n 1;\n 0;;\n Material {\n 1;1;1;1;;\n 1;\n 0;0;0;;\n 0;0;0;;\n"
                 " TextureFilename { \"two.ppm\"; }\n }\n }\n");
    const std::string path = folder.Write("quad.x", std::string(kFirstLine) + quad);
    auto redSide = [&](bool asAuthored) {
        LoadedModel loaded;
        EXPECT_EQ(loaded.Load(path, PoseChoice{asAuthored}), S_OK);
        SetLighting(false);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        DrawModelScene(&loaded, ViewOptions{}, 0, 90);
        const Pixels pixels = context->ReadPixels();
        const auto left = At(pixels, kSize / 2 - 8, kSize / 2), right = At(pixels, kSize / 2 + 8, kSize / 2);
        EXPECT_NE(left, right);
        return left[0] > left[2] ? "left" : "right";
    };
    EXPECT_EQ(redSide(true), std::string("right"));
    EXPECT_EQ(redSide(false), std::string("left"));
}

TEST_F(AsAuthored, AFittedViewHoldsAFarAndWideModel)
{
    // A box 1,000 units wide whose centre lies thousands of units away.
    std::vector<std::array<float, 3>> corners;
    for (int k = 0; k < 8; ++k)
        corners.push_back({5000.0f + (k & 1 ? 500 : -500), -3000.0f + (k & 2 ? 300 : -300), 2000.0f + (k & 4 ? 400 : -400)});
    const std::string box = MeshText(corners, {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}});
    EXPECT_EQ(Covered(Draw(box, false)), 0);  // the start view looks at the origin

    LoadedModel loaded;
    ASSERT_EQ(loaded.LoadFromMemory("box.x", std::string(kFirstLine) + box), S_OK);
    const std::optional<FittedView> view = FitView(loaded, kSize, kSize);
    ASSERT_TRUE(view);
    EXPECT_NEAR(view->frame.centre.x, 5000, 1e-3);
    const Pixels fitted = Draw(box, false, 35, view->frame, view->distance);
    int low = kSize, high = -1, top = kSize, bottom = -1;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (At(fitted, x, y) != At(fitted, 0, 0)) {
                low = std::min(low, x), high = std::max(high, x), top = std::min(top, y), bottom = std::max(bottom, y);
            }
    // Wholly inside the picture, and most of it.
    EXPECT_GT(low, 0);
    EXPECT_LT(high, kSize - 1);
    EXPECT_GT(top, 0);
    EXPECT_LT(bottom, kSize - 1);
    EXPECT_GT(std::max(high - low, bottom - top), kSize / 2);
}

}  // namespace

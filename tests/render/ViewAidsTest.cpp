// The view aids as the shared frame draws them: the ground grid under the
// model, the axis gizmo in its corner, the backgrounds.
#include "MeshBuilder.h"
#include "TestSupport.h"
#include "render/LoadedModel.h"
#include "render/SceneFrame.h"
#include "render/ViewAids.h"

#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 200, kHeight = 150;
using Rgba = std::array<int, 4>;

class ViewAids : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(kWidth, kHeight);
        ASSERT_TRUE(context->Ok()) << context->Error();
        InitGL(kWidth, kHeight);
    }
    std::vector<std::uint8_t> Draw(SceneFrame frame, bool fit)
    {
        frame.width = kWidth, frame.height = kHeight;
        if (fit)
            if (const auto camera = FittedCamera(frame)) frame.camera = *camera;
        DrawSceneFrame(frame);
        glFinish();
        return context->ReadPixels();
    }
    static Rgba At(const std::vector<std::uint8_t>& pixels, int x, int y)
    {
        const std::size_t i = (static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 4;
        return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
    }

    LoadedModel loaded;
};

TEST(GridStep, IsOneTwoOrFiveTimesAPowerOfTenCoveringTheLength)
{
    for (const auto& [length, step] : std::vector<std::pair<double, double>>{{10.5, 2}, {23, 5}, {0.07, 0.01}, {6000, 1000}})
        EXPECT_DOUBLE_EQ(GridStep(length, 10), step) << length;
    for (const double bad : {0.0, -4.0, std::nan(""), HUGE_VAL}) EXPECT_DOUBLE_EQ(GridStep(bad, 10), 1);
}

// The plane is the model's lowest along the up axis whichever way it is
// read and stood up: as authored the drawn z is the model's mirrored.
TEST_F(ViewAids, TheGridPlanePassesThroughTheModelsLowestPointAlongTheUpAxis)
{
    MeshRecord box = render_testing::MakeMesh({}, {}, {}, {{}});
    render_testing::AddSquare(box, -1, 4, 3, 6, 1, 0);
    render_testing::AddSquare(box, -1, 4, 3, 6, 3, 0);
    loaded.model.meshes.push_back(std::move(box));
    for (const bool asAuthored : {false, true}) {
        PrepareLoadedModel(loaded, PoseChoice{asAuthored});
        ViewOptions options;
        options.asAuthored = asAuthored;
        const auto flat = GroundGridOf(loaded.model, loaded.render, options).value();
        EXPECT_EQ(flat.upAxis, 1);
        EXPECT_FLOAT_EQ(flat.level, 4);
        EXPECT_FLOAT_EQ(flat.centre[0], 1);
        options.upZ = true;
        const auto upright = GroundGridOf(loaded.model, loaded.render, options).value();
        EXPECT_EQ(upright.upAxis, 2);
        EXPECT_FLOAT_EQ(upright.level, asAuthored ? -1.0f : 1.0f) << "the model's z = 1, drawn mirrored as authored";
        EXPECT_FLOAT_EQ(upright.centre[1], 5);
    }
    loaded.model.meshes.clear();
    PrepareLoadedModel(loaded);
    EXPECT_FALSE(GroundGridOf(loaded.model, loaded.render, {})) << "nothing to stand on";
}

// The rows the grid shows in beside a wall seen from above, and whether the
// wall changed; with the camera's planes far apart, the grid's far side
// shows where it did with the fitted ones (they hold the grid, not just the wall).
TEST_F(ViewAids, TheGridLiesUnderTheModelReachingPastItAndBehindItsFittedPlanes)
{
    MeshRecord wall = render_testing::MakeMesh({}, {}, {}, {{{0, 0, 1, 1}}});  // blue, 2 x 2, standing on y = 0
    render_testing::AddSquare(wall, -1, 0, 1, 2, 0, 0);
    loaded.model.meshes.push_back(std::move(wall));
    PrepareLoadedModel(loaded);
    SceneFrame frame;
    frame.model = &loaded;
    frame.camera.angleX = 30;
    const std::vector<std::uint8_t> bare = Draw(frame, true);
    frame.view.grid = true;
    const Rgba background{102, 102, 102, 255};
    struct Extent {
        int wallBottom = 0, gridTop = kHeight, gridBottom = 0, changedOnWall = 0;
    };
    auto extentOf = [&](const std::vector<std::uint8_t>& withGrid) {
        Extent e;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Rgba before = At(bare, x, y), after = At(withGrid, x, y);
                if (before != background) {
                    e.wallBottom = std::max(e.wallBottom, y);
                    e.changedOnWall += before != after;
                } else if (after != background) {
                    e.gridTop = std::min(e.gridTop, y), e.gridBottom = std::max(e.gridBottom, y);
                }
            }
        return e;
    };
    const Extent e = extentOf(Draw(frame, true));
    EXPECT_EQ(e.changedOnWall, 0) << "the wall hides the grid behind it";
    EXPECT_GT(e.gridBottom, e.wallBottom + 10) << "the near side runs below the wall's foot";
    EXPECT_LT(e.gridTop, e.wallBottom - 10) << "the far side shows beside the wall";

    frame.width = kWidth, frame.height = kHeight;
    frame.camera = FittedCamera(frame).value();
    frame.camera.frame.radius *= 100;
    EXPECT_NEAR(extentOf(Draw(frame, false)).gridTop, e.gridTop, 1);
}

TEST_F(ViewAids, TheGizmoShowsItsThreeColoursInTheBottomLeftCornerOnly)
{
    SceneFrame frame;
    frame.view.axes = true;
    frame.camera.angleX = 20, frame.camera.angleY = 30;
    const std::vector<std::uint8_t> pixels = Draw(frame, false);
    const int side = std::min(kWidth, kHeight) / 5;
    std::array<int, 3> inCorner{};
    int elsewhere = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int axis = 0; axis < 3; ++axis)
                if (At(pixels, x, y) == Rgba{axis == 0 ? 255 : 0, axis == 1 ? 255 : 0, axis == 2 ? 255 : 0, 255})
                    ++(x < side && y >= kHeight - side ? inCorner[axis] : elsewhere);
    EXPECT_GT(std::min({inCorner[0], inCorner[1], inCorner[2]}), 5);
    EXPECT_EQ(elsewhere, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth) << "the viewport is given back";
}

TEST_F(ViewAids, EachBackgroundFillsTheCornersAndTransparencyWins)
{
    auto corners = [&](Background background, bool transparent) {
        SceneFrame frame;
        frame.view.background = background;
        frame.transparentBackground = transparent;
        const std::vector<std::uint8_t> pixels = Draw(frame, false);
        return std::array<Rgba, 2>{At(pixels, 0, 0), At(pixels, kWidth - 1, kHeight - 1)};
    };
    EXPECT_EQ(corners(Background::White, false)[0], (Rgba{255, 255, 255, 255}));
    const auto gradient = corners(Background::Gradient, false);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(gradient[0][c], kGradientTop[c] * 255, 3) << "top";
        EXPECT_NEAR(gradient[1][c], kGradientBottom[c] * 255, 3) << "bottom";
    }
    EXPECT_EQ(corners(Background::Gradient, true)[1][3], 0);
}

}  // namespace

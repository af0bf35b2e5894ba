// The ground grid as the shared frame draws it: under the model.
#include "MeshBuilder.h"
#include "TestSupport.h"
#include "render/LoadedModel.h"
#include "render/SceneFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

constexpr int kWidth = 200, kHeight = 150;

// A blue wall 2 x 2 standing on y = 0, seen from above: with the grid, the
// wall is unchanged, and the grid shows below its foot and beside it.
TEST(ViewAids, TheGridLiesUnderTheModelReachingPastIt)
{
    platform::HeadlessContext context(kWidth, kHeight);
    ASSERT_TRUE(context.Ok()) << context.Error();
    InitGL(kWidth, kHeight);
    LoadedModel loaded;
    MeshRecord wall = render_testing::MakeMesh({}, {}, {}, {{{0, 0, 1, 1}}});
    render_testing::AddSquare(wall, -1, 0, 1, 2, 0, 0);
    loaded.model.meshes.push_back(std::move(wall));
    PrepareLoadedModel(loaded);
    SceneFrame frame;
    frame.model = &loaded, frame.camera.angleX = 30;
    frame.width = kWidth, frame.height = kHeight;
    auto draw = [&] {
        frame.camera = FittedCamera(frame).value();
        DrawSceneFrame(frame);
        glFinish();
        return context.ReadPixels();
    };
    const std::vector<std::uint8_t> bare = draw();
    frame.view.grid = true;
    const std::vector<std::uint8_t> grid = draw();
    const std::array<std::uint8_t, 4> background{102, 102, 102, 255};
    int wallBottom = 0, gridTop = kHeight, gridBottom = 0, changedOnWall = 0;
    for (std::size_t i = 0; i < bare.size(); i += 4) {
        const int y = static_cast<int>(i / 4 / kWidth);
        const bool onWall = !std::equal(background.begin(), background.end(), &bare[i]);
        const bool changed = !std::equal(&bare[i], &bare[i] + 4, &grid[i]);
        if (onWall) wallBottom = std::max(wallBottom, y), changedOnWall += changed;
        else if (changed) gridTop = std::min(gridTop, y), gridBottom = std::max(gridBottom, y);
    }
    EXPECT_EQ(changedOnWall, 0) << "the wall hides the grid behind it";
    EXPECT_GT(gridBottom, wallBottom + 10) << "the near side runs below the wall's foot";
    EXPECT_LT(gridTop, wallBottom - 10) << "the far side shows beside the wall";
}

}  // namespace

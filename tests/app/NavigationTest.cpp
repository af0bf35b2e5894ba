// Moving about the model: the pan and the first view.
#include "ShellGlTest.h"

namespace {

using NavigationTest = ShellGlTest;

TEST_F(NavigationTest, PanMovesTheCentreAndNotTheAnglesNorTheDistance)
{
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    state.angleX = 30, state.angleY = -50;
    shell.OnCommand(command::FitView);
    const Vector3 centre = state.viewFrame.centre;
    const float distance = state.cameraDistance;
    shell.OnMiddleButtonDown(20, 20);
    shell.OnMouseMove(26, 12, MouseKeys{.middle = true});
    EXPECT_NE(state.viewFrame.centre, centre);
    EXPECT_FLOAT_EQ(state.angleX, 30);
    EXPECT_FLOAT_EQ(state.angleY, -50);
    EXPECT_FLOAT_EQ(state.cameraDistance, distance);
}

// R after turning, panning and zooming (a right drag's zoom step included) draws the first frame again.
TEST_F(NavigationTest, FirstViewRestoresTheCameraAndItsDrawnDistance)
{
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    state.angleY = 20;
    const std::vector<std::uint8_t> first = Frame();
    shell.OnLeftButtonDown(0, 0);
    shell.OnMouseMove(15, 7, MouseKeys{.left = true});
    shell.OnMouseMove(25, 3, MouseKeys{.middle = true});
    shell.OnWheel(2);
    shell.OnRightButtonDown(30);
    shell.OnMouseMove(5, 40, MouseKeys{.right = true});
    ASSERT_NE(Frame(), first);
    shell.OnMouseMove(5, 20, MouseKeys{.right = true});
    shell.OnCommand(command::FirstView);
    EXPECT_EQ(Frame(), first);
}

}  // namespace

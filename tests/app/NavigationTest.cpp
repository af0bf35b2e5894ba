// Moving about the model beside the specified mouse: the pan, the
// double-click, the first view, the views along the axes, the
// orthographic projection and the framing on play.
#include "ShellGlTest.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <numbers>

namespace {

// The model-axes direction `v` as DrawModelScene's turn shows it, from
// OpenGL's own rotations.
std::array<float, 3> Turned(const ShellState& state, const ViewOptions& options, const Vector3& v)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRotatef(state.angleY, 0, 1, 0);
    glRotatef(state.angleX, 1, 0, 0);
    if (options.upZ) glRotatef(options.asAuthored ? 90.0f : -90.0f, 1, 0, 0);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z, m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

using NavigationTest = ShellGlTest;

TEST_F(NavigationTest, PanMovesTheCentreWithTheCursorAndNothingElse)
{
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    shell.OnCommand(command::UpAxisZ);
    state.angleX = 30;
    state.angleY = -50;
    shell.OnCommand(command::FitView);
    const ViewFrame before = state.viewFrame;
    const float distance = state.cameraDistance;
    shell.OnMiddleButtonDown(20, 20);
    shell.OnMouseMove(26, 12, MouseKeys{.middle = true});
    shell.OnMouseMove(30, 20, MouseKeys{.left = true, .shift = true});  // from where the middle drag left off

    EXPECT_FLOAT_EQ(state.angleX, 30);
    EXPECT_FLOAT_EQ(state.angleY, -50);
    EXPECT_FLOAT_EQ(state.cameraDistance, distance);
    // Seen through the turn, the centre went 10 pixels left at its depth: the model 10 pixels right.
    const float pixel = 2 * distance * static_cast<float>(std::tan(std::numbers::pi / 8)) / kHeight;
    const Vector3& c = state.viewFrame.centre;
    const auto seen = Turned(state, options, {c.x - before.centre.x, c.y - before.centre.y, c.z - before.centre.z});
    EXPECT_NEAR(seen[0], -10 * pixel, 1e-4f);
    EXPECT_NEAR(seen[1], 0, 1e-4f);
    EXPECT_NEAR(seen[2], 0, 1e-4f);
    // The planes still hold the model around the moved centre: the reach grew by each step's move.
    EXPECT_NEAR(state.viewFrame.radius, before.radius + (10 + std::sqrt(80.0f)) * pixel, 1e-4f);
}

TEST_F(NavigationTest, FirstViewComesBackPixelForPixelAndIsEachModelsOwn)
{
    options.asAuthored = true;
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
    // The zoom step of a right drag is undone too: the next frame is the first one.
    shell.OnMouseMove(5, 20, MouseKeys{.right = true});
    shell.OnCommand(command::FirstView);
    EXPECT_EQ(Frame(), first);

    shell.OnCommand(command::TopView);
    dialogs.answers.push_back(testing_support::SamplePath("cube.x"));
    shell.OnCommand(command::LoadMesh);
    const std::vector<std::uint8_t> top = Frame();
    shell.OnCommand(command::FrontView);
    shell.OnCommand(command::FirstView);
    EXPECT_EQ(Frame(), top);
}

TEST_F(NavigationTest, AxisViewsBringTheirAxisTowardTheEyeAndKeepTheCentre)
{
    for (const bool upZ : {false, true}) {
        options.upZ = upZ;
        state.viewFrame.centre = {1, 2, 3};
        const Vector3 up = upZ ? Vector3{0, 0, 1} : Vector3{0, 1, 0};
        const std::pair<int, Vector3> views[] = {
            {command::FrontView, upZ ? Vector3{0, -1, 0} : Vector3{0, 0, 1}}, {command::TopView, up}, {command::SideView, {1, 0, 0}}};
        for (const auto& [id, towardEye] : views) {
            state.angleX = 33;
            state.angleY = 44;
            shell.OnCommand(id);
            EXPECT_NEAR(Turned(state, options, towardEye)[2], 1, 1e-5f) << id << " up z " << upZ;
            // Every view keeps the up axis at the top of the picture, or at its far side from above.
            EXPECT_GE(Turned(state, options, up)[1], id == command::TopView ? -1e-5f : 1 - 1e-5f);
            EXPECT_EQ(state.viewFrame.centre, (Vector3{1, 2, 3}));
        }
    }
}

TEST_F(NavigationTest, OrthographicShowsThePerspectiveSizeAtTheCentreAndFits)
{
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    state.cameraDistance = state.drawnCameraDistance = 8;
    GLfloat perspective[16], orthographic[16];
    DrawScene(state, options);
    glGetFloatv(GL_PROJECTION_MATRIX, perspective);
    shell.OnCommand(command::Orthographic);
    DrawScene(state, options);
    glGetFloatv(GL_PROJECTION_MATRIX, orthographic);
    EXPECT_FLOAT_EQ(orthographic[11], 0);  // no division by depth
    EXPECT_FLOAT_EQ(orthographic[5] * 8, perspective[5]);
    EXPECT_FLOAT_EQ(orthographic[0] * 8, perspective[0]);
    // Fitted, the cube's 2 units across take 85 % of the height, whatever its depth.
    shell.OnCommand(command::FitView);
    DrawScene(state, options);
    glGetFloatv(GL_PROJECTION_MATRIX, orthographic);
    EXPECT_NEAR(orthographic[5], 0.85f, 1e-4f);
}

TEST_F(NavigationTest, DoubleClickCentresOnThePointUnderTheCursor)
{
    shell.LoadAtStart(testing_support::SamplePath("cube.x"));
    shell.OnDoubleClick(1, 1);  // the background
    shell.OnDoubleClick(kWidth, 10);  // outside the window
    EXPECT_EQ(state.viewFrame.centre, Vector3{});
    // The cube's front face is at z = 1; a few pixels right of the middle is right of x = 0.
    shell.OnDoubleClick(kWidth / 2 + 4, kHeight / 2);
    EXPECT_NEAR(state.viewFrame.centre.z, 1, 0.02f);
    EXPECT_GT(state.viewFrame.centre.x, 0.05f);
    EXPECT_LT(state.viewFrame.centre.x, 0.5f);
    EXPECT_NEAR(state.viewFrame.centre.y, 0, 0.2f);
    EXPECT_FLOAT_EQ(state.cameraDistance, kStartCameraDistance);
}

TEST_F(NavigationTest, PlaybackFramesItsPoseUnlessTheCameraWasMoved)
{
    testing_support::TempDir folder;
    shell.LoadAtStart(folder.Write("slide.x", kSlide));
    EXPECT_EQ(state.viewFrame.radius, 0) << "opened as read: the start view";
    shell.OnCommand(command::PlayPause);
    EXPECT_GT(state.viewFrame.radius, 0);
    EXPECT_NEAR(state.viewFrame.centre.x, 0.5f, 0.1f);  // the pose it starts in, not the frame's rest at 50

    shell.OnCommand(command::PlayPause);
    shell.OnLeftButtonDown(0, 0);
    shell.OnMouseMove(3, 0, MouseKeys{.left = true});
    const ViewFrame moved = state.viewFrame;
    const float distance = state.cameraDistance;
    shell.OnCommand(command::PlayPause);
    EXPECT_EQ(state.viewFrame.centre, moved.centre);
    EXPECT_EQ(state.cameraDistance, distance);

}

}  // namespace

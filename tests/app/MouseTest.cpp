// The left button turns the model, the right button sets the camera distance.
#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/Frame.h"
#include "app/Shell.h"

#include <GL/gl.h>

namespace {

class NullFont : public OverlayFont {
public:
    void DrawCharacter(unsigned char) override {}
};

// The eye's distance the next frame is drawn from, as the model-view
// matrix holds it once the frame is drawn: the camera looks down -Z from
// (0, 0, d), so the matrix moves the scene by -d.
float CameraDistanceOfFrame(ShellState& state, const ViewOptions& options)
{
    NullFont font;
    RenderFrame(state, options, font, [] { return 0u; }, nullptr);
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    return -matrix[14];
}

class MouseTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        InitGL(64, 64);
    }
    ShellState state;
    ViewOptions options;
    FakeMenu menu;
    FakeDialogs dialogs;
    Shell shell{state, options, menu, dialogs, nullptr};
};

const MouseKeys kLeft{.left = true};
const MouseKeys kRight{.right = true};

TEST_F(MouseTest, LeftDragTurnsOneDegreePerPixel)
{
    shell.OnLeftButtonDown(100, 50);
    shell.OnMouseMove(145, 50, kLeft);
    shell.OnMouseMove(190, 40, kLeft);
    EXPECT_FLOAT_EQ(state.angleY, 90);  // a quarter turn for 90 pixels to the right
    EXPECT_FLOAT_EQ(state.angleX, -10);
    EXPECT_EQ(state.lastMouseX, 190);
    EXPECT_EQ(state.lastMouseY, 40);

    // No bound, no wrap.
    shell.OnLeftButtonDown(0, 0);
    for (int i = 0; i < 5; ++i) {
        shell.OnMouseMove(400, 0, kLeft);
        shell.OnLeftButtonDown(0, 0);
    }
    EXPECT_FLOAT_EQ(state.angleY, 2090);
}

TEST_F(MouseTest, DragBegunOutsideTheWindowJumpsFromTheLastPosition)
{
    shell.OnMouseMove(30, 20, kLeft);
    EXPECT_FLOAT_EQ(state.angleY, 30);
    EXPECT_FLOAT_EQ(state.angleX, 20);
}

TEST_F(MouseTest, OnlyOneButtonAloneCounts)
{
    shell.OnLeftButtonDown(10, 10);
    state.cameraDistance = 10;
    const MouseKeys ignored[] = {
        MouseKeys{},
        MouseKeys{.left = true, .shift = true},
        MouseKeys{.left = true, .control = true},
        MouseKeys{.left = true, .right = true},
        MouseKeys{.left = true, .middle = true},
        MouseKeys{.left = true, .extra1 = true},
        MouseKeys{.right = true, .shift = true},
        MouseKeys{.right = true, .control = true},
        MouseKeys{.right = true, .extra2 = true},
        MouseKeys{.middle = true},
    };
    for (const MouseKeys& keys : ignored) shell.OnMouseMove(200, 300, keys);
    EXPECT_FLOAT_EQ(state.angleX, 0);
    EXPECT_FLOAT_EQ(state.angleY, 0);
    EXPECT_EQ(state.lastMouseX, 10);
    EXPECT_EQ(state.lastMouseY, 10);
    EXPECT_FLOAT_EQ(state.cameraDistance, 10);
    EXPECT_FLOAT_EQ(CameraDistanceOfFrame(state, options), 10);
}

TEST_F(MouseTest, RightButtonZoomsInNineTenthStepsThenFollowsTheCursor)
{
    shell.OnRightButtonDown(200);
    EXPECT_FLOAT_EQ(state.cameraDistance, 200);
    EXPECT_FLOAT_EQ(CameraDistanceOfFrame(state, options), 10) << "a press alone does not move the camera";

    shell.OnMouseMove(5, 300, kRight);
    EXPECT_FLOAT_EQ(CameraDistanceOfFrame(state, options), 180);
    EXPECT_FLOAT_EQ(state.cameraDistance, 300);

    shell.OnMouseMove(5, 100, kRight);
    EXPECT_FLOAT_EQ(CameraDistanceOfFrame(state, options), 270);
    EXPECT_FLOAT_EQ(state.cameraDistance, 100);

    // The top row puts the camera in the origin; the left button is untouched.
    shell.OnRightButtonDown(0);
    EXPECT_FLOAT_EQ(state.cameraDistance, 0);
    EXPECT_FLOAT_EQ(state.angleY, 0);
    EXPECT_EQ(state.lastMouseX, 0);
}

}  // namespace

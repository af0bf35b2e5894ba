// The frame, the overlay text and the reaction to a new size, drawn into a
// real (offscreen) OpenGL context.
#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/Frame.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Glyph {
    char character;
    float windowX, windowY;  // raster position, origin bottom-left
    bool rasterValid;
    bool lit;
};

// Records every glyph with the state it is drawn in, and advances the
// raster position by 8 pixels as the real font does.
class RecordingFont : public OverlayFont {
public:
    void DrawCharacter(unsigned char character) override
    {
        GLfloat position[4];
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        GLboolean valid = GL_FALSE;
        glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
        glyphs.push_back({static_cast<char>(character), position[0], position[1], valid == GL_TRUE,
                          glIsEnabled(GL_LIGHTING) == GL_TRUE});
        glBitmap(0, 0, 0, 0, 8, 0, nullptr);
    }
    // The text of each line, lines told apart by their baseline.
    std::vector<std::pair<float, std::string>> Lines() const
    {
        std::vector<std::pair<float, std::string>> lines;
        for (const Glyph& glyph : glyphs) {
            if (lines.empty() || lines.back().first != glyph.windowY) lines.push_back({glyph.windowY, ""});
            lines.back().second += glyph.character;
        }
        return lines;
    }
    std::vector<Glyph> glyphs;
};

std::array<GLfloat, 16> Matrix(GLenum which)
{
    std::array<GLfloat, 16> matrix{};
    glGetFloatv(which, matrix.data());
    return matrix;
}

class FrameTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        context = std::make_unique<platform::HeadlessContext>(640, 480);
        ASSERT_TRUE(context->Ok()) << context->Error();
        RecordClientSize(state, 640, 480);
        InitGL(state.windowWidth, state.windowHeight);
    }
    ShellState state;
    ViewOptions options;
    RecordingFont font;
    FakeClock clock;
};

TEST_F(FrameTest, OverlayLineIsDrawnUnlitAtItsWindowPosition)
{
    DrawOverlayText(state, 16, 25, "Meshes : 3", font);
    ASSERT_EQ(font.glyphs.size(), 10u);
    EXPECT_EQ(font.Lines()[0].second, "Meshes : 3");
    for (const Glyph& glyph : font.glyphs) {
        EXPECT_TRUE(glyph.rasterValid);
        EXPECT_FALSE(glyph.lit);
    }
    EXPECT_FLOAT_EQ(font.glyphs[0].windowX, 16);
    EXPECT_FLOAT_EQ(font.glyphs[0].windowY, 480 - 25);  // y counts down from the top
    EXPECT_FLOAT_EQ(font.glyphs[1].windowX, 24);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)) << "lighting comes back on";

    glDisable(GL_LIGHTING);
    DrawOverlayText(state, 0, 10, "x", font);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)) << "lighting that was off stays off";
}

// The model of a frame is seen through the perspective, from the camera
// distance the frame before it left; the overlay then draws in window pixels.
TEST_F(FrameTest, AFrameSetsThePerspectiveAndTheCameraBeforeItsModel)
{
    SetPerspective(state.windowWidth, state.windowHeight);
    const auto perspective = Matrix(GL_PROJECTION_MATRIX);
    state.cameraDistance = 42;
    RenderFrame(state, options, font, clock.Source(), nullptr);
    EXPECT_FLOAT_EQ(Matrix(GL_MODELVIEW_MATRIX)[14], -kStartCameraDistance) << "the first frame, from the start distance";
    RenderFrame(state, options, font, clock.Source(), nullptr);
    const auto camera = Matrix(GL_MODELVIEW_MATRIX);
    EXPECT_FLOAT_EQ(camera[14], -42);
    EXPECT_FLOAT_EQ(camera[0], 1);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    RenderFrame(state, options, font, clock.Source(), nullptr);
    EXPECT_NE(Matrix(GL_PROJECTION_MATRIX), perspective) << "the overlay's projection is left";
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(FrameTest, ResizeFollowsTheClientSizeAndSurvivesAZeroHeight)
{
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    const auto camera = Matrix(GL_MODELVIEW_MATRIX);

    ResizeGL(state, 320, 200);
    EXPECT_FLOAT_EQ(state.windowWidth, 320);
    EXPECT_FLOAT_EQ(state.windowHeight, 200);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 200);
    const auto projection = Matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(projection[5] / projection[0], 1.6, 1e-5);  // the aspect ratio
    EXPECT_EQ(Matrix(GL_MODELVIEW_MATRIX), camera);

    ResizeGL(state, 320, 0);  // minimised
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(Matrix(GL_MODELVIEW_MATRIX), camera);
    ResizeGL(state, 0, 200);
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), projection);
    DrawOverlayText(state, 0, 10, "fps: 060", font);
    for (const GLfloat value : Matrix(GL_PROJECTION_MATRIX)) EXPECT_TRUE(std::isfinite(value));
}

TEST_F(FrameTest, FrameWithoutModelShowsTheRateLineAlone)
{
    int swaps = 0;
    StartFrameClock(state, clock.Source());
    for (int frame = 0; frame < 84; ++frame) {
        clock.now += 10;
        RenderFrame(state, options, font, clock.Source(), [&] { ++swaps; });
    }
    EXPECT_EQ(swaps, 84);
    EXPECT_TRUE(font.glyphs.empty()) << "no text before the first measurement";

    clock.now += 10;
    RenderFrame(state, options, font, clock.Source(), [&] { ++swaps; });
    ASSERT_EQ(font.Lines().size(), 1u);
    EXPECT_EQ(font.Lines()[0].second, "fps: 100");
    EXPECT_FLOAT_EQ(font.Lines()[0].first, 480 - 10);

    // The clear colour fills the frame.
    std::vector<GLubyte> pixel(4);
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    EXPECT_NEAR(pixel[0], 102, 1);
    EXPECT_NEAR(pixel[1], 102, 1);
    EXPECT_NEAR(pixel[2], 102, 1);
}

void FillHandMadeModel(Model& model)
{
    model.meshes.resize(2);
    model.meshes[0].vertices.resize(4);
    model.meshes[0].faces.AppendTriangle(0, 1, 2);
    model.meshes[0].faces.AppendTriangle(0, 2, 3);
    model.meshes[0].materials.resize(2);
    model.meshes[0].materials[1].textureFile = "wood.png";
    model.meshes[1].vertices.resize(3);
    model.meshes[1].faces.AppendTriangle(0, 1, 2);
    model.meshes[1].materials.resize(1);
}

TEST_F(FrameTest, ModelLinesCountOverAllMeshes)
{
    Model model;
    FillHandMadeModel(model);
    const auto lines = ModelOverlayLines(model, 60.9f);
    EXPECT_EQ(lines[0], "Vertexes : 7, Faces : 3, Tri/sec : 180");
    EXPECT_EQ(lines[1], "Meshes : 2");
    EXPECT_EQ(lines[2], "Textures : 1");
    EXPECT_EQ(lines[3], "Materials : 3");

    const auto empty = ModelOverlayLines(Model{}, 60);
    EXPECT_EQ(empty[0], "Vertexes : 0, Faces : 0, Tri/sec : 0");
    EXPECT_EQ(empty[1], "Meshes : 0");
}

TEST_F(FrameTest, FrameWithModelShowsFiveLinesFifteenPixelsApart)
{
    state.currentModel = std::make_unique<LoadedModel>();
    FillHandMadeModel(state.currentModel->model);
    StartFrameClock(state, clock.Source());
    for (int frame = 0; frame < 85; ++frame) {
        clock.now += 20;
        font.glyphs.clear();
        RenderFrame(state, options, font, clock.Source(), nullptr);
    }
    const auto lines = font.Lines();
    ASSERT_EQ(lines.size(), 5u);
    const char* expected[] = {"fps: 050", "Vertexes : 7, Faces : 3, Tri/sec : 150", "Meshes : 2", "Textures : 1",
                              "Materials : 3"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].second, expected[i]);
        EXPECT_FLOAT_EQ(lines[i].first, 480 - (10 + 15 * static_cast<float>(i)));
    }
    EXPECT_EQ(state.frameCount, 85) << "one rate update per frame";
    state.currentModel.reset();
}

}  // namespace

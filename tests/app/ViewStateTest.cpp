// The view value as the one truth: OpenGL follows it at each frame, and the
// viewer's saved picture of a view is pelmora-render's.
#include "ShellGlTest.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdlib>
#include <string>

namespace {

// The RGB pixels of a PNG file, or nothing when it cannot be read.
std::vector<std::uint8_t> PngRgb(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0 ? rgb : std::vector<std::uint8_t>{};
}

// Another drawer in the same context (a toolkit) leaves its own state behind.
void ChangeOpenGlBehindTheShell()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_LIGHTING);
    glFrontFace(GL_CW);
    glClearColor(1, 0, 0, 1);
}

using ViewStateTest = ShellGlTest;

TEST_F(ViewStateTest, EachFrameAppliesTheValueWhateverOpenGlWasLeftIn)
{
    for (const int id : {command::WirePolygons, command::Light, command::InverseCulling}) shell.OnCommand(id);
    ChangeOpenGlBehindTheShell();
    Frame();
    GLint mode[2] = {}, face = 0;
    glGetIntegerv(GL_POLYGON_MODE, mode);
    glGetIntegerv(GL_FRONT_FACE, &face);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(mode[0], GL_LINE);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(face, GL_CW) << "flipped by the command, not by the stray call";
    EXPECT_FLOAT_EQ(clear[0], 0.4f);
}

TEST_F(ViewStateTest, TheSavedPictureWithEveryAidIsTheToolsPictureOfTheSameView)
{
    const testing_support::TempDir folder;
    const testing_support::MessageRecorder recorder;
    const std::string model = testing_support::CorpusPath("minetest_game/character.x");
    const std::string saved = (folder.path() / "saved.png").string(), drawn = (folder.path() / "tool.png").string();
    shell.LoadAtStart(model);
    ASSERT_TRUE(state.currentModel);
    for (const int id : {command::WirePolygons, command::Light, command::UpAxisZ, command::Skeleton, command::Grid,
                         command::Axes, command::BackgroundGradient})
        shell.OnCommand(id);
    state.angleX = 20, state.angleY = 30;
    shell.OnCommand(command::FitView);
    ChangeOpenGlBehindTheShell();
    dialogs.answers.push_back(saved);
    shell.OnCommand(command::SaveImage);
    const std::string line = std::string(PELMORA_RENDER_TOOL) +
                             " --size 160x120 --mode wire --no-light --up z --skeleton --grid --axes"
                             " --background gradient --pitch 20 --yaw 30 --fit '" + model + "' '" + drawn + "' 2>/dev/null";
    ASSERT_EQ(std::system(line.c_str()), 0);
    const auto viewer = PngRgb(saved);
    ASSERT_EQ(viewer.size(), std::size_t{kWidth * kHeight * 3});
    EXPECT_TRUE(viewer == PngRgb(drawn));
}

}  // namespace

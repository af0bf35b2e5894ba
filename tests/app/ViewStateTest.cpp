// The view value as the one truth: the marks and the OpenGL state follow it,
// and the viewer's saved picture of a view, aids and all, is pelmora-render's.
#include "ShellGlTest.h"
#include "app/MenuLayout.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

class ViewStateTest : public ShellGlTest {
protected:
    // Something else drawing in the same context (a toolkit, a test) leaves
    // its own state behind.
    static void ChangeOpenGlBehindTheShell()
    {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_LIGHTING);
        glFrontFace(GL_CW);
        glClearColor(1, 0, 0, 1);
    }
    // "Enregistrer l'image…" of the model as shown, expected to be
    // pelmora-render's picture with `toolOptions`; its pixels.
    std::vector<std::uint8_t> SavedAsTheToolDrawsIt(const std::string& toolOptions)
    {
        const std::string saved = (folder.path() / "saved.png").string(), drawn = (folder.path() / "tool.png").string();
        dialogs.answers.push_back(saved);
        shell.OnCommand(command::SaveImage);
        const std::string line = std::string(PELMORA_RENDER_TOOL) + " --size 160x120 " + toolOptions + " '" + model +
                                 "' '" + drawn + "' 2>/dev/null";
        EXPECT_EQ(std::system(line.c_str()), 0) << toolOptions;
        const auto viewer = PngRgb(saved, kWidth, kHeight);
        EXPECT_FALSE(viewer.empty());
        EXPECT_TRUE(viewer == PngRgb(drawn, kWidth, kHeight)) << toolOptions;
        return viewer;
    }

    testing_support::TempDir folder;
    const testing_support::MessageRecorder recorder;  // what reading the model as read tells
    const std::string model = testing_support::CorpusPath("minetest_game/character.x");
};

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

// The tool's picture of the same view, though OpenGL was changed behind the
// shell, in perspective, orthographic, and with every aid on.
TEST_F(ViewStateTest, TheSavedPictureIsTheToolsPictureOfTheSameView)
{
    shell.LoadAtStart(model);
    ASSERT_TRUE(state.currentModel);
    for (const int id : {command::WirePolygons, command::Light, command::UpAxisZ}) shell.OnCommand(id);
    state.angleX = 20, state.angleY = 30;
    shell.OnCommand(command::FitView);
    ChangeOpenGlBehindTheShell();
    const auto wire = SavedAsTheToolDrawsIt("--mode wire --no-light --up z --pitch 20 --yaw 30 --fit");
    EXPECT_NE(std::count(wire.begin(), wire.end(), std::uint8_t{102}), static_cast<std::ptrdiff_t>(wire.size()));

    for (const int id : {command::Orthographic, command::SideView, command::FitView}) shell.OnCommand(id);
    SavedAsTheToolDrawsIt("--mode wire --no-light --up z --ortho --view side --fit");

    // Bones are posed only as authored: K shows the model so, and leaves it so when off.
    shell.OnCommand(CommandOfAccelerator(MainMenuLayout(), "K"));
    EXPECT_TRUE(options.skeleton && options.asAuthored && menu.IsChecked(command::AsAuthored));
    for (const int id : {command::Orthographic, command::Grid, command::Axes, command::BackgroundGradient})
        shell.OnCommand(id);
    state.angleX = 20, state.angleY = 30;
    shell.OnCommand(command::FitView);
    const auto aids = SavedAsTheToolDrawsIt(
        "--mode wire --no-light --up z --skeleton --grid --axes --background gradient --pitch 20 --yaw 30 --fit");
    int yellow = 0;  // the skeleton's
    for (std::size_t i = 0; i + 2 < aids.size(); i += 3) yellow += aids[i] == 255 && aids[i + 1] == 255 && aids[i + 2] == 0;
    EXPECT_GT(yellow, 5);
    shell.OnCommand(command::Skeleton);
    EXPECT_TRUE(options.asAuthored && !options.skeleton);
}

TEST_F(ViewStateTest, MarksChangedBehindTheShellAreSetFromTheValueAfterTheNextCommand)
{
    menu.marks[command::Light] = false;
    menu.marks[command::WirePolygons] = true;
    options.background = Background::Black;
    menu.calls.clear();
    shell.OnCommand(command::InverseCulling);
    EXPECT_TRUE(menu.IsChecked(command::Light) && menu.IsChecked(command::BackgroundBlack));
    EXPECT_FALSE(menu.IsChecked(command::WirePolygons) || menu.IsChecked(command::BackgroundGrey));
    std::sort(menu.calls.begin(), menu.calls.end());
    std::vector<int> repaired{command::Light, command::WirePolygons, command::BackgroundGrey, command::BackgroundBlack};
    std::sort(repaired.begin(), repaired.end());
    EXPECT_EQ(menu.calls, repaired) << "only the marks that disagreed are set";

    // Every mark item of the menus has its place in the value, and the value
    // at start gives the marks the menus start with.
    const auto marks = MarksOf(ViewOptions{}, AnimationPlayback{});
    const std::map<int, bool> byId(marks.begin(), marks.end());
    ForEachMenuCommand(MainMenuLayout(), [&](const MenuNode& node) {
        if (!node.checkable || node.radio) return;
        const auto mark = byId.find(node.id);
        ASSERT_NE(mark, byId.end()) << node.text;
        EXPECT_EQ(mark->second, node.marked) << node.text;
    });
}

}  // namespace

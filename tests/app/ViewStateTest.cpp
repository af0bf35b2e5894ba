// The view value as the one truth: the marks and the OpenGL state follow it,
// the viewer's picture and pelmora-render's are one picture, and the draw
// paths' table is the menu's and the tool's.
#include "RenderOptions.h"
#include "ShellGlTest.h"
#include "TestSupport.h"
#include "app/Frame.h"
#include "app/MenuLayout.h"
#include "app/Shell.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

struct SilentFont : OverlayFont {
    void DrawCharacter(unsigned char) override {}
};

GLint PolygonMode()
{
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

// Something else drawing in the same context (a toolkit, a test) leaves its
// own state behind.
void ChangeOpenGlBehindTheShell()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_LIGHTING);
    glFrontFace(GL_CW);
    glClearColor(1, 0, 0, 1);
}

class ViewStateTest : public ShellGlTest {};

TEST_F(ViewStateTest, EachFrameAppliesTheValueWhateverOpenGlWasLeftIn)
{
    shell.OnCommand(command::WirePolygons);
    shell.OnCommand(command::Light);
    shell.OnCommand(command::InverseCulling);
    ChangeOpenGlBehindTheShell();
    SilentFont font;
    FakeClock clock;
    RenderFrame(state, options, font, clock.Source(), nullptr);
    EXPECT_EQ(PolygonMode(), GL_LINE);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLint face = 0;
    glGetIntegerv(GL_FRONT_FACE, &face);
    EXPECT_EQ(face, GL_CW) << "flipped by the command, not by the stray call";
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.4f);
    EXPECT_FLOAT_EQ(clear[1], 0.4f);

    // The background is part of the value.
    options.background = Background::White;
    DrawScene(state, options);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[2], 1.0f);
}

// "Enregistrer l'image…" of a view and pelmora-render's picture of the same
// view are the same pixels, though OpenGL was changed behind the shell
// before the save.
TEST_F(ViewStateTest, TheSavedPictureIsTheToolsPictureOfTheSameView)
{
    testing_support::TempDir folder;
    const testing_support::MessageRecorder recorder;  // what reading it as read tells
    const std::string model = testing_support::CorpusPath("minetest_game/character.x");
    shell.LoadAtStart(model);
    ASSERT_TRUE(state.currentModel);
    for (const int id : {command::WirePolygons, command::Light, command::UpAxisZ}) shell.OnCommand(id);
    state.angleX = 20, state.angleY = 30;
    shell.OnCommand(command::FitView);
    ChangeOpenGlBehindTheShell();
    const std::string saved = (folder.path() / "saved.png").string();
    dialogs.answers.push_back(saved);
    shell.OnCommand(command::SaveImage);

    const std::string drawn = (folder.path() / "tool.png").string();
    const std::string line = std::string(PELMORA_RENDER_TOOL) +
                             " --size 160x120 --mode wire --no-light --up z --pitch 20 --yaw 30 --fit '" + model +
                             "' '" + drawn + "' 2>/dev/null";
    ASSERT_EQ(std::system(line.c_str()), 0);
    const auto viewer = PngRgb(saved, kWidth, kHeight), tool = PngRgb(drawn, kWidth, kHeight);
    ASSERT_FALSE(viewer.empty());
    ASSERT_EQ(viewer.size(), tool.size());
    EXPECT_TRUE(viewer == tool) << std::mismatch(viewer.begin(), viewer.end(), tool.begin()).first - viewer.begin();
    // The picture holds lines of the model, not the background alone.
    EXPECT_NE(std::count(viewer.begin(), viewer.end(), std::uint8_t{102}), static_cast<std::ptrdiff_t>(viewer.size()));
}

// The orthographic side view, fitted, is the tool's --ortho --view side --fit.
TEST_F(ViewStateTest, TheOrthographicSideViewIsTheTools)
{
    testing_support::TempDir folder;
    const std::string model = testing_support::CorpusPath("minetest_game/character.x");
    shell.LoadAtStart(model);
    ASSERT_TRUE(state.currentModel);
    for (const int id : {command::Orthographic, command::SideView, command::FitView}) shell.OnCommand(id);
    const std::string saved = (folder.path() / "saved.png").string();
    dialogs.answers.push_back(saved);
    shell.OnCommand(command::SaveImage);

    const std::string drawn = (folder.path() / "tool.png").string();
    const std::string line = std::string(PELMORA_RENDER_TOOL) + " --size 160x120 --ortho --view side --fit '" + model +
                             "' '" + drawn + "' 2>/dev/null";
    ASSERT_EQ(std::system(line.c_str()), 0);
    const auto viewer = PngRgb(saved, kWidth, kHeight), tool = PngRgb(drawn, kWidth, kHeight);
    ASSERT_FALSE(viewer.empty());
    EXPECT_TRUE(viewer == tool);
    EXPECT_NE(std::count(viewer.begin(), viewer.end(), std::uint8_t{102}), static_cast<std::ptrdiff_t>(viewer.size()));
}

TEST_F(ViewStateTest, MarksChangedBehindTheShellAreSetFromTheValueAfterTheNextCommand)
{
    menu.marks[command::Light] = false;
    menu.marks[command::BufferObjects] = false;
    menu.marks[command::WirePolygons] = true;
    menu.marks[command::AsAuthored] = true;
    menu.calls.clear();
    shell.OnCommand(command::InverseCulling);
    EXPECT_TRUE(menu.IsChecked(command::Light));
    EXPECT_TRUE(menu.IsChecked(command::BufferObjects));
    EXPECT_FALSE(menu.IsChecked(command::WirePolygons));
    EXPECT_TRUE(menu.IsChecked(command::FillPolygons));
    EXPECT_FALSE(menu.IsChecked(command::AsAuthored));
    std::sort(menu.calls.begin(), menu.calls.end());
    std::vector<int> repaired{command::Light, command::BufferObjects, command::WirePolygons, command::AsAuthored};
    std::sort(repaired.begin(), repaired.end());
    EXPECT_EQ(menu.calls, repaired) << "only the marks that disagreed are set";

    // Every mark item of the menus has its place in the value, and the value
    // at start gives the marks the menus start with.
    const auto marks = MarksOf(ViewOptions{}, AnimationPlayback{});
    const std::map<int, bool> byId(marks.begin(), marks.end());
    EXPECT_EQ(byId.size(), marks.size());
    ForEachMenuCommand(MainMenuLayout(), [&](const MenuNode& node) {
        if (!node.checkable || node.radio) return;
        const auto mark = byId.find(node.id);
        ASSERT_NE(mark, byId.end()) << node.text;
        EXPECT_EQ(mark->second, node.marked) << node.text;
    });
}

TEST(DrawPathTable, IsTheMenusAndTheToolsWords)
{
    std::map<int, const MenuNode*> items;
    ForEachMenuCommand(MainMenuLayout(), [&](const MenuNode& node) { items[node.id] = &node; });
    for (const DrawPathEntry& entry : kDrawPaths) {
        EXPECT_EQ(DrawPathOf(entry.path).path, entry.path);
        if (entry.flag != nullptr) {
            const auto item = items.find(entry.menuCommand);
            ASSERT_NE(item, items.end()) << entry.word;
            EXPECT_EQ(item->second->text, entry.menuText);
            EXPECT_TRUE(item->second->checkable);
            EXPECT_EQ(item->second->marked, ViewOptions{}.*entry.flag) << entry.word;
            EXPECT_EQ(DrawPathOfCommand(entry.menuCommand), &entry);
        }
        const auto parsed = render_tool::ParseCommandLine({"--path", std::string(entry.word), "a.x", "b.png"});
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(SelectedPath(parsed.options->view), entry.path) << entry.word;
        EXPECT_NE(render_tool::kUsage.find(entry.word), std::string::npos) << entry.word;
        ViewOptions chosen;
        SelectPath(chosen, entry.path);
        EXPECT_EQ(SelectedPath(chosen), entry.path);
    }
    EXPECT_NE(render_tool::kUsage.find("  --path immediate|list|arrays|buffers   draw path (default: buffers)\n"),
              std::string::npos);
    EXPECT_EQ(DrawPathOfCommand(0), nullptr);
    EXPECT_EQ(DrawPathOfWord("fast"), nullptr);
}

}  // namespace

// The "Vue" menu's aids in the shell: the value and the marks they set, and
// the saved picture of a view with every aid on, which is pelmora-render's.
#include "ShellGlTest.h"
#include "TestSupport.h"
#include "app/Frame.h"
#include "app/MenuLayout.h"
#include "app/Shell.h"


#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

class ViewAidsShell : public ShellGlTest {
protected:
    const testing_support::MessageRecorder recorder;  // what reading a corpus file tells
};

TEST_F(ViewAidsShell, EachAidSetsTheValueAndItsMarkAndTheSkeletonPosesTheBones)
{
    // Without a model the skeleton is only a switch.
    shell.OnCommand(CommandOfAccelerator(MainMenuLayout(), "K"));
    EXPECT_TRUE(options.skeleton && menu.IsChecked(command::Skeleton));
    EXPECT_FALSE(options.asAuthored);
    shell.OnCommand(command::Skeleton);
    EXPECT_FALSE(options.skeleton || menu.IsChecked(command::Skeleton));

    // A skinned model's bones are posed only as authored: K draws it so.
    shell.LoadAtStart(testing_support::CorpusPath("minetest_game/character.x"));
    ASSERT_TRUE(state.currentModel);
    shell.OnCommand(command::Skeleton);
    EXPECT_TRUE(options.skeleton && options.asAuthored && menu.IsChecked(command::AsAuthored));
    EXPECT_FALSE(state.currentModel->render.skeleton().bones.empty());
    shell.OnCommand(command::Skeleton);
    EXPECT_FALSE(options.skeleton);
    EXPECT_TRUE(options.asAuthored) << "turning the skeleton off leaves the scene as it is";

    for (const auto& [key, field] : {std::pair{"G", &ViewOptions::grid}, std::pair{"A", &ViewOptions::axes}}) {
        const int id = CommandOfAccelerator(MainMenuLayout(), key);
        shell.OnCommand(id);
        EXPECT_TRUE(options.*field && menu.IsChecked(id)) << key;
        shell.OnCommand(id);
        EXPECT_FALSE(options.*field || menu.IsChecked(id)) << key;
    }

    shell.OnCommand(command::BackgroundGradient);
    EXPECT_EQ(options.background, Background::Gradient);
    EXPECT_TRUE(menu.IsChecked(command::BackgroundGradient));
    EXPECT_FALSE(menu.IsChecked(command::BackgroundGrey));
    options.background = Background::Black;  // changed behind the menu: the next command repairs the marks
    shell.OnCommand(command::InverseCulling);
    EXPECT_TRUE(menu.IsChecked(command::BackgroundBlack));
    EXPECT_FALSE(menu.IsChecked(command::BackgroundGradient));
}

TEST_F(ViewAidsShell, TheSavedPictureWithEveryAidIsTheToolsPicture)
{
    testing_support::TempDir folder;
    const std::string model = testing_support::CorpusPath("minetest_game/character.x");
    shell.LoadAtStart(model);
    ASSERT_TRUE(state.currentModel);
    for (const int id : {command::Skeleton, command::Grid, command::Axes, command::BackgroundGradient})
        shell.OnCommand(id);
    state.angleX = 20, state.angleY = 30;
    shell.OnCommand(command::FitView);
    const std::string saved = (folder.path() / "saved.png").string();
    dialogs.answers.push_back(saved);
    shell.OnCommand(command::SaveImage);

    const std::string drawn = (folder.path() / "tool.png").string();
    const std::string line = std::string(PELMORA_RENDER_TOOL) +
                             " --size 160x120 --skeleton --grid --axes --background gradient --pitch 20 --yaw 30 --fit '" +
                             model + "' '" + drawn + "' 2>/dev/null";
    ASSERT_EQ(std::system(line.c_str()), 0);
    const auto viewer = PngRgb(saved, kWidth, kHeight), tool = PngRgb(drawn, kWidth, kHeight);
    ASSERT_FALSE(viewer.empty());
    ASSERT_EQ(viewer.size(), tool.size());
    EXPECT_TRUE(viewer == tool) << std::mismatch(viewer.begin(), viewer.end(), tool.begin()).first - viewer.begin();
    // The skeleton's yellow shows.
    int yellow = 0;
    for (std::size_t i = 0; i + 2 < viewer.size(); i += 3)
        yellow += viewer[i] == 255 && viewer[i + 1] == 255 && viewer[i + 2] == 0;
    EXPECT_GT(yellow, 5);
}

}  // namespace

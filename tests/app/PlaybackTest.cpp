// Animation sets played in the viewer: the menu each model gets, playback by
// the clock, speeds, the end of an open set, and what a new model resets.
#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/AnimationMenu.h"
#include "app/Frame.h"
#include "app/Shell.h"

#include <gtest/gtest.h>

namespace {

class LineFont : public OverlayFont {
public:
    void DrawCharacter(unsigned char character) override { text += static_cast<char>(character); }
    std::string text;
};

// One frame moved from x = 0 to x = 3 over 30 ticks, in an open set.
const char* const kOpenSet = R"(xof 0303txt 0032
Frame Box {
 FrameTransformMatrix {
  1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;
 }
 Mesh {
  3;
  0;0;0;,
  1;0;0;,
  0;1;0;;
  1;
  3;0,1,2;;
 }
}
AnimationSet Slide {
 Animation {
  {Box}
  AnimationOptions {
   0;
   1;
  }
  AnimationKey {
   2;
   2;
   0;3;0,0,0;;,
   30;3;3,0,0;;;
  }
 }
}
)";
class PlaybackTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        InitGL(64, 64);
        RecordClientSize(state, 64, 64);
        shell.SetAnimationMenuReplacer([this](const MenuNode& menu) { this->menu.Replace(menu); });
    }
    void Frame(std::uint32_t milliseconds)
    {
        clock.now += milliseconds;
        font.text.clear();
        RenderFrame(state, options, font, clock.Source(), nullptr);
        shell.FollowPlayback();
    }
    const MenuNode& AnimationMenuShown() { return menu.menus.at("Animation"); }

    ShellState state;
    ViewOptions options;
    FakeMenu menu;
    FakeDialogs dialogs;
    FakeClock clock;
    LineFont font;
    Shell shell{state, options, menu, dialogs, nullptr};
};

TEST_F(PlaybackTest, PlayingFollowsTheClockAtTheChosenSpeed)
{
    shell.LoadAtStart(testing_support::CorpusPath("assimp/Testwuson.X"));
    ASSERT_TRUE(state.currentModel);
    // One item per set, by name, the first marked; nothing chosen, nothing drawn differently.
    const MenuNode& shown = AnimationMenuShown();
    EXPECT_TRUE(shown.enabled);
    std::vector<std::string> names;
    for (const MenuNode& node : shown.entries)
        if (SetOfCommand(node.id)) names.push_back(node.text);
    EXPECT_EQ(names, (std::vector<std::string>{"Wuson_Run", "Wuson_Walk", "Wuson_Bind"}));
    EXPECT_TRUE(menu.IsChecked(CommandOfSet(0)) && menu.IsChecked(CommandOfSpeed(1)));
    Frame(10);
    EXPECT_EQ(font.text.find("Animation"), std::string::npos);
    EXPECT_FALSE(options.asAuthored);
    const int reads = clock.reads;

    shell.OnCommand(command::PlayPause);
    EXPECT_TRUE(menu.IsChecked(command::PlayPause));
    EXPECT_TRUE(options.asAuthored && menu.IsChecked(command::AsAuthored)) << "playing shows the scene as authored";
    Frame(1000);  // the first frame takes the clock as it is
    EXPECT_EQ(state.playback.seconds, 0);
    // Half a second in five frames or in one: the same time.
    for (int k = 0; k < 5; ++k) Frame(100);
    EXPECT_NEAR(state.playback.seconds, 0.5, 1e-9);
    EXPECT_EQ(state.currentModel->render.pose(), (PoseChoice{true, 0, state.playback.seconds}));
    EXPECT_NE(font.text.find("Animation : Wuson_Run 0.50 / 0.97 s"), std::string::npos) << font.text;
    shell.OnCommand(CommandOfSpeed(2));
    Frame(100);
    EXPECT_NEAR(state.playback.seconds, 0.7, 1e-9);
    EXPECT_TRUE(menu.IsChecked(CommandOfSpeed(2)) && !menu.IsChecked(CommandOfSpeed(1)));
    Frame(200);  // past the end of a closed set: round again
    EXPECT_NEAR(state.playback.seconds, 1.1 - TimingOf(state.currentModel->model, 0).LengthSeconds(), 1e-9);

    // Another set starts at its beginning; pausing stops the clock being read.
    shell.OnCommand(CommandOfSet(1));
    EXPECT_EQ(state.playback.set, 1);
    EXPECT_EQ(state.playback.seconds, 0);
    EXPECT_TRUE(menu.IsChecked(CommandOfSet(1)) && !menu.IsChecked(CommandOfSet(0)));
    shell.OnCommand(command::PlayPause);
    EXPECT_FALSE(menu.IsChecked(command::PlayPause));
    const int readsPaused = clock.reads;
    Frame(500);
    EXPECT_EQ(clock.reads, readsPaused);
    EXPECT_GT(readsPaused, reads);
}

TEST_F(PlaybackTest, AnOpenSetStopsOnItsLastKeyAndPlaysAgainFromTheStart)
{
    testing_support::TempDir folder;
    shell.LoadAtStart(folder.Write("slide.x", kOpenSet));
    shell.OnCommand(command::PlayPause);
    Frame(0);
    Frame(2000);  // the set lasts one second
    EXPECT_FALSE(state.playback.playing);
    EXPECT_FALSE(menu.IsChecked(command::PlayPause)) << "the mark follows";
    EXPECT_DOUBLE_EQ(state.playback.seconds, 1);
    const auto& posed = *state.currentModel->render.meshes[0].posedVertices;
    EXPECT_FLOAT_EQ(posed[0].x, 3);
    shell.OnCommand(command::FitView);
    EXPECT_FLOAT_EQ(state.viewFrame.centre.x, 3.5f) << "the view fits the pose on screen";
    shell.OnCommand(command::PlayPause);
    EXPECT_EQ(state.playback.seconds, 0);
    Frame(0);
    Frame(500);
    EXPECT_NEAR(posed[0].x, 1.5f, 1e-5f);

    // Shown as read, the animation pauses; home is the first key.
    shell.OnCommand(command::AsAuthored);
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause));
    shell.OnCommand(command::AsAuthored);
    shell.OnCommand(command::RewindAnimation);
    EXPECT_FLOAT_EQ((*state.currentModel->render.meshes[0].posedVertices)[0].x, 0);
}

TEST_F(PlaybackTest, ANewModelStopsPlaybackAndForgetsTheFittedView)
{
    testing_support::TempDir folder;
    shell.LoadAtStart(folder.Write("slide.x", kOpenSet));
    shell.OnCommand(command::PlayPause);
    shell.OnCommand(command::FitView);
    state.angleY = 30;
    const float distance = state.cameraDistance;
    ASSERT_GT(state.viewFrame.radius, 0);

    dialogs.answers.push_back(testing_support::SamplePath("cube.x"));
    shell.OnCommand(command::LoadMesh);
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause));
    EXPECT_EQ(state.playback.set, -1);
    // Opened as authored, the new model is framed anew, as "Cadrer le modèle" frames it, at the same turn.
    EXPECT_EQ(state.angleY, 30);
    const ViewFrame framed = state.viewFrame;
    const float framedDistance = state.cameraDistance;
    EXPECT_NE(framedDistance, distance);
    shell.OnCommand(command::FitView);
    EXPECT_EQ(state.viewFrame.centre, framed.centre);
    EXPECT_EQ(state.viewFrame.radius, framed.radius);
    EXPECT_EQ(state.cameraDistance, framedDistance);
    // A model without sets greys the menu, and its commands do nothing.
    EXPECT_FALSE(AnimationMenuShown().enabled);
    shell.OnCommand(command::PlayPause);
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause));
    Frame(10);
    EXPECT_EQ(font.text.find("Animation"), std::string::npos);
}

}  // namespace

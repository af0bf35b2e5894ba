// Sending the chosen animation set to a time from the viewer: the key,
// tenth and end commands and their shortcuts, the slider's seek, and what
// the timeline under the picture shows.
#include "ShellFakes.h"
#include "TestSupport.h"
#include "app/AnimationMenu.h"
#include "app/Frame.h"
#include "app/Shell.h"
#include "app/Timeline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>

namespace {

// One frame moved along x: 0 at tick 0, 1 at tick 10, 3 at tick 30, at 30
// ticks a second (keys at 0, 1/3 and 1 s).
const char* const kSlide = R"(xof 0303txt 0032
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
  AnimationKey {
   2;
   3;
   0;3;0,0,0;;,
   10;3;1,0,0;;,
   30;3;3,0,0;;;
  }
 }
}
)";

class TimelineTest : public testing_support::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        InitGL(64, 64);
        RecordClientSize(state, 64, 64);
        shell.LoadAtStart(folder.Write("slide.x", kSlide));
        ASSERT_TRUE(state.currentModel);
    }
    float PosedX() const { return (*state.currentModel->render.meshes[0].posedVertices)[0].x; }

    testing_support::TempDir folder;
    ShellState state;
    ViewOptions options;
    FakeMenu menu;
    FakeDialogs dialogs;
    Shell shell{state, options, menu, dialogs, nullptr};
};

TEST_F(TimelineTest, KeyTenthAndEndCommandsPauseAndPoseTheModel)
{
    // No set chosen: no timeline, and the commands leave the time alone.
    EXPECT_FALSE(TimelineOf(state));
    shell.OnCommand(command::GoToEnd);
    shell.OnCommand(command::NextKey);
    EXPECT_EQ(state.playback.set, -1);
    EXPECT_EQ(state.playback.seconds, 0);

    shell.OnCommand(command::PlayPause);
    ASSERT_TRUE(state.playback.playing);
    shell.OnCommand(command::NextKey);
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause)) << "a step pauses, and the mark follows";
    EXPECT_DOUBLE_EQ(state.playback.seconds, 1.0 / 3);
    EXPECT_NEAR(PosedX(), 1, 1e-5f);

    shell.OnCommand(command::StepForward);
    EXPECT_NEAR(state.playback.seconds, 1.0 / 3 + 0.1, 1e-12);
    EXPECT_NEAR(PosedX(), 1.3f, 1e-5f);
    shell.OnCommand(command::GoToEnd);
    EXPECT_EQ(state.playback.seconds, 1);
    EXPECT_FLOAT_EQ(PosedX(), 3) << "the end of a closed set shows its last key, not its first";
    shell.OnCommand(command::StepBack);
    EXPECT_NEAR(state.playback.seconds, 0.9, 1e-12);
    shell.OnCommand(command::PreviousKey);
    EXPECT_DOUBLE_EQ(state.playback.seconds, 1.0 / 3);

    // Shown as read, the pose is not seen: a step shows the scene as authored again.
    shell.OnCommand(command::AsAuthored);
    ASSERT_FALSE(options.asAuthored);
    shell.OnCommand(command::PreviousKey);
    EXPECT_TRUE(options.asAuthored && menu.IsChecked(command::AsAuthored));
    EXPECT_EQ(state.playback.seconds, 0);
    EXPECT_FLOAT_EQ(PosedX(), 0);
}

TEST_F(TimelineTest, ShortcutsTellShiftOnTheArrowsOnly)
{
    const auto& layout = MainMenuLayout();
    EXPECT_EQ(CommandOfAccelerator(layout, "Left"), command::PreviousKey);
    EXPECT_EQ(CommandOfAccelerator(layout, "Right"), command::NextKey);
    EXPECT_EQ(CommandOfAccelerator(layout, "Shift+Left"), command::StepBack);
    EXPECT_EQ(CommandOfAccelerator(layout, "Shift+Right"), command::StepForward);
    EXPECT_EQ(CommandOfAccelerator(layout, "End"), command::GoToEnd);
    // Every shortcut names one command only.
    std::map<std::string, int> seen;
    ForEachMenuCommand(layout, [&](const MenuNode& node) {
        if (!node.accelerator.empty()) {
            EXPECT_EQ(++seen[node.accelerator], 1) << node.accelerator;
        }
    });
}

TEST_F(TimelineTest, TheSliderSeeksInHundredthsAndItsLastPositionIsTheEnd)
{
    shell.OnCommand(CommandOfSet(0));
    shell.OnCommand(command::PlayPause);
    const std::optional<TimelineView> start = TimelineOf(state);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->name, "Slide");
    EXPECT_EQ(start->positions, 100);
    EXPECT_EQ(TimelineTimeText(start->seconds, start->length), "0.00 / 1.00 s");

    shell.SeekAnimationTo(TimelineSecondsAt(50, start->length));
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause)) << "dragging pauses";
    EXPECT_EQ(state.playback.seconds, 0.5);
    EXPECT_NEAR(PosedX(), 1.5f, 1e-5f);
    EXPECT_EQ(TimelineOf(state)->position, 50);
    shell.SeekAnimationTo(TimelineSecondsAt(start->positions, start->length));
    EXPECT_FLOAT_EQ(PosedX(), 3);

    // A length off the hundredths ends on a position of its own; any length keeps the slider's integers small.
    EXPECT_EQ(TimelinePositions(1.234), 124);
    EXPECT_EQ(TimelineSecondsAt(123, 1.234), 1.23);
    EXPECT_EQ(TimelineSecondsAt(124, 1.234), 1.234);
    EXPECT_EQ(TimelineSecondsAt(500, 1.234), 1.234);
    const double huge = 1e300;
    EXPECT_LE(TimelinePositions(huge), 10'000'000);
    EXPECT_EQ(TimelineSecondsAt(TimelinePositions(huge), huge), huge);
    EXPECT_EQ(TimelinePositions(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TimelineSecondsAt(3, std::numeric_limits<double>::infinity()), 0);
}

}  // namespace

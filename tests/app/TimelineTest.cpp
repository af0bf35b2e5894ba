// Sending the chosen animation set to a time by hand: seeks held within the
// set, steps from key to key and by a tenth of a second, the commands and
// shortcuts that make them in the shell, and the timeline's slider.
#include "ShellGlTest.h"
#include "app/AnimationMenu.h"
#include "app/Seeking.h"
#include "app/Timeline.h"

#include <limits>
#include <map>

namespace {

// Keys at ticks 10, 20, 25 and 50 of two frames at 10 ticks a second: times 0, 1, 1.5, 4.
Model ThreeKeyModel()
{
    Model model;
    model.frames = {{"A", -1, std::nullopt}, {"B", -1, std::nullopt}};
    model.animTicksPerSecond = 10;
    AnimationSetRecord& set = model.animationSets.emplace_back();
    AnimationRecord& a = set.animations.emplace_back();
    a.frame = 0;
    a.positionKeys = {{10, {}}, {25, {}}, {50, {}}};
    AnimationRecord& b = set.animations.emplace_back();
    b.frame = 1;
    b.rotationKeys = {{20, {}}, {25, {}}};
    return model;
}

TEST(Seeking, StepsVisitEveryAnimationsKeysAndEveryMoveStaysWithinTheSet)
{
    const Model model = ThreeKeyModel();
    AnimationPlayback playback;
    playback.set = 3;  // a set the model does not have: nothing moves
    SeekAnimation(playback, model, 2);
    StepToKey(playback, model, true);
    EXPECT_EQ(playback.seconds, 0);
    playback.set = 0;
    std::vector<double> visited;
    for (const bool forward : {true, true, true, true, false, false, false, false}) {
        StepToKey(playback, model, forward);
        visited.push_back(playback.seconds);
    }
    EXPECT_EQ(visited, (std::vector<double>{1, 1.5, 4, 4, 1.5, 1, 0, 0})) << "the first and last keys are the ends";
    playback.Start();
    SeekAnimation(playback, model, 1.2);
    StepToKey(playback, model, false);
    EXPECT_FALSE(playback.playing);
    EXPECT_EQ(playback.seconds, 1) << "between keys, the key on that side";
    SeekAnimation(playback, model, 9);
    StepSeconds(playback, model, true);
    EXPECT_EQ(playback.seconds, 4);
    SeekAnimation(playback, model, -1);
    StepSeconds(playback, model, false);
    EXPECT_EQ(playback.seconds, 0);
}

class TimelineTest : public ShellGlTest {
protected:
    void SetUp() override
    {
        ShellGlTest::SetUp();
        shell.LoadAtStart(folder.Write("slide.x", kSlide));
        ASSERT_TRUE(state.currentModel);
    }
    float PosedX() const { return (*state.currentModel->render.meshes[0].posedVertices)[0].x; }

    testing_support::TempDir folder;
};

TEST_F(TimelineTest, EachStepCommandPausesAndPosesTheModel)
{
    EXPECT_FALSE(TimelineOf(state)) << "no set chosen: no timeline";
    shell.OnCommand(command::PlayPause);
    shell.OnCommand(command::NextKey);
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause)) << "a step pauses, and the mark follows";
    EXPECT_NEAR(PosedX(), 1, 1e-5f);
    shell.OnCommand(command::StepForward);
    EXPECT_NEAR(PosedX(), 1.3f, 1e-5f);
    shell.OnCommand(command::GoToEnd);
    EXPECT_FLOAT_EQ(PosedX(), 3) << "the end of a closed set shows its last key, not its first";
    shell.OnCommand(command::StepBack);
    EXPECT_NEAR(state.playback.seconds, 0.9, 1e-12);
    shell.OnCommand(command::PreviousKey);
    EXPECT_DOUBLE_EQ(state.playback.seconds, 1.0 / 3);
    // Shown as read, the pose is not seen: a step shows the scene as authored again.
    shell.OnCommand(command::AsAuthored);
    shell.OnCommand(command::PreviousKey);
    EXPECT_TRUE(options.asAuthored && menu.IsChecked(command::AsAuthored));
    EXPECT_FLOAT_EQ(PosedX(), 0);

    // Shift tells the tenth from the key; no shortcut names two commands.
    const auto& layout = MainMenuLayout();
    EXPECT_EQ(CommandOfAccelerator(layout, "Left"), command::PreviousKey);
    EXPECT_EQ(CommandOfAccelerator(layout, "Shift+Left"), command::StepBack);
    EXPECT_EQ(CommandOfAccelerator(layout, "End"), command::GoToEnd);
    std::map<std::string, int> seen;
    ForEachMenuCommand(layout, [&](const MenuNode& node) {
        if (!node.accelerator.empty()) {
            EXPECT_EQ(++seen[node.accelerator], 1) << node.accelerator;
        }
    });
}

TEST_F(TimelineTest, TheSliderSeeksInHundredthsAndItsLastPositionIsTheEnd)
{
    shell.OnCommand(command::PlayPause);
    const std::optional<TimelineView> start = TimelineOf(state);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->name, "Slide");
    EXPECT_EQ(start->positions, 100);
    EXPECT_EQ(TimelineTimeText(start->seconds, start->length), "0.00 / 1.00 s");
    shell.SeekAnimationTo(TimelineSecondsAt(50, start->length));
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause)) << "dragging pauses";
    EXPECT_NEAR(PosedX(), 1.5f, 1e-5f);
    EXPECT_EQ(TimelineOf(state)->position, 50);
    shell.SeekAnimationTo(TimelineSecondsAt(start->positions, start->length));
    EXPECT_FLOAT_EQ(PosedX(), 3);

    // A length off the hundredths ends on a position of its own; any length keeps the slider's integers small.
    EXPECT_EQ(TimelinePositions(1.234), 124);
    EXPECT_EQ(TimelineSecondsAt(123, 1.234), 1.23);
    EXPECT_EQ(TimelineSecondsAt(500, 1.234), 1.234);
    EXPECT_LE(TimelinePositions(1e300), 10'000'000);
    EXPECT_EQ(TimelineSecondsAt(TimelinePositions(1e300), 1e300), 1e300);
    EXPECT_EQ(TimelinePositions(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TimelineSecondsAt(3, std::numeric_limits<double>::infinity()), 0);
}

}  // namespace

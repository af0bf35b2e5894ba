// The timeline's commands: each pauses and poses the chosen set by key, by tenth and at its end.
#include "ShellGlTest.h"

namespace {

// One frame at rest at x = 50 whose keys put it at x = 0, 1 and 3 at 0, 1/3 and 1 s.
constexpr const char* kSlide = R"(xof 0303txt 0032
Frame Box {
 FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,50,0,0,1;; }
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
  AnimationKey { 2; 3; 0;3;0,0,0;;, 10;3;1,0,0;;, 30;3;3,0,0;;; }
 }
}
)";

using TimelineTest = ShellGlTest;

TEST_F(TimelineTest, EachStepCommandPausesAndPosesTheModel)
{
    testing_support::TempDir folder;
    shell.LoadAtStart(folder.Write("slide.x", kSlide));
    ASSERT_TRUE(state.currentModel);
    const auto posedX = [&] { return (*state.currentModel->render.meshes[0].posedVertices)[0].x; };
    shell.OnCommand(command::PlayPause);
    shell.OnCommand(command::NextKey);
    EXPECT_FALSE(state.playback.playing || menu.IsChecked(command::PlayPause));
    EXPECT_NEAR(posedX(), 1, 1e-5f);
    shell.OnCommand(command::StepForward);
    EXPECT_NEAR(posedX(), 1.3f, 1e-5f);
    shell.OnCommand(command::GoToEnd);
    EXPECT_FLOAT_EQ(posedX(), 3) << "the end of a closed set shows its last key, not its first";
    shell.OnCommand(command::StepBack);
    EXPECT_NEAR(state.playback.seconds, 0.9, 1e-12);
    shell.OnCommand(command::PreviousKey);
    EXPECT_DOUBLE_EQ(state.playback.seconds, 1.0 / 3);
}

}  // namespace

// The frame counter and the frames-per-second line.
#include "ShellFakes.h"
#include "app/FrameRate.h"

#include <gtest/gtest.h>

namespace {

// Runs `frames` frames and returns the last text.
std::string RunFrames(ShellState& state, FakeClock& clock, int frames, std::uint32_t millisecondsEach)
{
    std::string text;
    for (int i = 0; i < frames; ++i) {
        clock.now += millisecondsEach;
        text = UpdateFps(state, clock.Source());
    }
    return text;
}

TEST(FrameRateTest, MeasuresEveryEightyFiveFramesFromTheLoopStart)
{
    ShellState state;
    FakeClock clock;
    clock.now = 3'000'000;  // the machine has been up for a while
    StartFrameClock(state, clock.Source());
    clock.reads = 0;

    EXPECT_EQ(RunFrames(state, clock, 84, 10), "");
    EXPECT_EQ(clock.reads, 0) << "the clock is read only when a period ends";
    EXPECT_EQ(RunFrames(state, clock, 1, 10), "fps: 100");  // 85 frames in 850 ms: a true rate at once
    EXPECT_EQ(clock.reads, 1);
    EXPECT_FLOAT_EQ(state.fps, 100);

    EXPECT_EQ(RunFrames(state, clock, 85, 1000 / 60), "fps: 062");  // 85 frames in 1360 ms
    EXPECT_EQ(RunFrames(state, clock, 85, 200), "fps: 005");
    EXPECT_EQ(RunFrames(state, clock, 85, 1), "fps: 1000");
    EXPECT_EQ(state.frameCount, 4 * 85);
}

TEST(FrameRateTest, SurvivesTheWrapOfTheTickCounter)
{
    ShellState state;
    FakeClock clock;
    clock.now = 0xFFFFFFFFu - 400;
    StartFrameClock(state, clock.Source());
    EXPECT_EQ(RunFrames(state, clock, 85, 10), "fps: 100");
    EXPECT_LT(clock.now, 1000u);
}

TEST(FrameRateTest, PeriodWithoutMeasurableTimeKeepsThePreviousRate)
{
    ShellState state;
    FakeClock clock;
    StartFrameClock(state, clock.Source());
    RunFrames(state, clock, 85, 0);
    EXPECT_FLOAT_EQ(state.fps, 0);
    EXPECT_EQ(state.fpsText, "fps: 000");

    RunFrames(state, clock, 85, 4);  // 340 ms
    EXPECT_FLOAT_EQ(state.fps, 250);
    EXPECT_EQ(RunFrames(state, clock, 85, 0), "fps: 250");
    EXPECT_FLOAT_EQ(state.fps, 250);
}

TEST(FrameRateTest, CounterStartsOverWithoutLosingThePeriod)
{
    ShellState state;
    FakeClock clock;
    StartFrameClock(state, clock.Source());
    state.frameCount = 85 * 25'000'000 - 1;  // the last frame before the counter starts over
    EXPECT_EQ(RunFrames(state, clock, 1, 1000), "fps: 085");
    EXPECT_EQ(state.frameCount, 0);
    EXPECT_EQ(RunFrames(state, clock, 84, 10), "fps: 085");
    EXPECT_EQ(RunFrames(state, clock, 1, 10), "fps: 100");
}

}  // namespace

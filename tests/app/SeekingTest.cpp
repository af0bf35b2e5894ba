// Sending an animation set to a time by hand: seeks held within the set,
// steps from key to key and by a tenth of a second, stopping at the ends.
#include "app/Seeking.h"

#include <gtest/gtest.h>

namespace {

// Keys at ticks 10, 20, 25 and 50 at 10 ticks a second: times 0, 1, 1.5, 4.
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

TEST(Seeking, ASeekPausesAndHoldsTheTimeWithinTheSet)
{
    const Model model = ThreeKeyModel();
    AnimationPlayback playback;
    SeekAnimation(playback, model, 2);
    EXPECT_EQ(playback.seconds, 0) << "no set chosen: nothing moves";
    playback.set = 3;
    SeekAnimation(playback, model, 2);
    EXPECT_EQ(playback.seconds, 0) << "a set the model does not have";

    playback.set = 0;
    playback.Start();
    SeekAnimation(playback, model, 2.5);
    EXPECT_FALSE(playback.playing);
    EXPECT_EQ(playback.seconds, 2.5);
    SeekAnimation(playback, model, 9);
    EXPECT_EQ(playback.seconds, 4);
    SeekAnimation(playback, model, -1);
    EXPECT_EQ(playback.seconds, 0);
    SeekToEnd(playback, model);
    EXPECT_EQ(playback.seconds, 4);
    EXPECT_EQ(playback.seconds, TimingOf(model, 0).LengthSeconds());
}

TEST(Seeking, StepsGoFromKeyToKeyAndByATenthStoppingAtTheEnds)
{
    const Model model = ThreeKeyModel();
    AnimationPlayback playback;
    playback.set = 0;
    std::vector<double> visited;
    for (int k = 0; k < 5; ++k) {
        StepToKey(playback, model, true);
        visited.push_back(playback.seconds);
    }
    EXPECT_EQ(visited, (std::vector<double>{1, 1.5, 4, 4, 4})) << "the last key is the end: it stays";
    StepToKey(playback, model, false);
    EXPECT_EQ(playback.seconds, 1.5);

    // Between keys, a step goes to the key on that side.
    SeekAnimation(playback, model, 1.2);
    StepToKey(playback, model, false);
    EXPECT_EQ(playback.seconds, 1);
    SeekAnimation(playback, model, 1.2);
    StepToKey(playback, model, true);
    EXPECT_EQ(playback.seconds, 1.5);
    StepToKey(playback, model, false);
    StepToKey(playback, model, false);
    StepToKey(playback, model, false);
    EXPECT_EQ(playback.seconds, 0) << "the first key is the start: it stays";

    playback.Start();
    StepSeconds(playback, model, false);
    EXPECT_FALSE(playback.playing);
    EXPECT_EQ(playback.seconds, 0);
    StepSeconds(playback, model, true);
    StepSeconds(playback, model, true);
    EXPECT_NEAR(playback.seconds, 0.2, 1e-12);
    SeekAnimation(playback, model, 3.95);
    StepSeconds(playback, model, true);
    EXPECT_EQ(playback.seconds, 4);
}

}  // namespace

#include "app/Seeking.h"

#include "model/AnimationSampling.h"

#include <algorithm>
#include <optional>

namespace {

// Key times closer than this to the shown time are the shown time: a seek
// to a key lands on it exactly, this only absorbs rounding.
constexpr double kSameTime = 1e-9;

std::optional<std::size_t> ChosenSet(const AnimationPlayback& playback, const Model& model)
{
    if (playback.set < 0 || static_cast<std::size_t>(playback.set) >= model.animationSets.size()) return std::nullopt;
    return static_cast<std::size_t>(playback.set);
}

}  // namespace

void SeekAnimation(AnimationPlayback& playback, const Model& model, double seconds)
{
    const auto set = ChosenSet(playback, model);
    if (!set) return;
    playback.Stop();
    const double length = TimingOf(model, *set).LengthSeconds();
    // Not a number goes to the start, as Wrap takes it.
    playback.seconds = seconds > 0 ? std::min(seconds, length) : 0.0;
}

void StepToKey(AnimationPlayback& playback, const Model& model, bool forward)
{
    const auto set = ChosenSet(playback, model);
    if (!set) return;
    const std::vector<double> keys = KeyTimesOf(model, *set);
    double target = playback.seconds;
    if (forward) {
        const auto next = std::upper_bound(keys.begin(), keys.end(), playback.seconds + kSameTime);
        if (next != keys.end()) target = *next;
    } else {
        const auto after = std::lower_bound(keys.begin(), keys.end(), playback.seconds - kSameTime);
        if (after != keys.begin()) target = *(after - 1);
    }
    SeekAnimation(playback, model, target);
}

void StepSeconds(AnimationPlayback& playback, const Model& model, bool forward)
{
    SeekAnimation(playback, model, playback.seconds + (forward ? kSecondsStep : -kSecondsStep));
}

void SeekToEnd(AnimationPlayback& playback, const Model& model)
{
    const auto set = ChosenSet(playback, model);
    if (!set) return;
    SeekAnimation(playback, model, TimingOf(model, *set).LengthSeconds());
}

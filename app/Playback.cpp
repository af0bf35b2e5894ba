#include "app/Playback.h"

#include <cstdio>

void AnimationPlayback::Start()
{
    playing = true;
    lastTick_.reset();
}

void AnimationPlayback::Rewind()
{
    seconds = 0;
    lastTick_.reset();
}

void AnimationPlayback::Advance(std::uint32_t now, const AnimationTiming& timing)
{
    if (!playing) return;
    if (lastTick_) {
        const std::uint32_t elapsed = now - *lastTick_;  // unsigned: the wrap does no harm
        const double played = seconds + elapsed * 0.001 * speed;
        seconds = timing.Wrap(played);
        if (!timing.loops && played >= timing.LengthSeconds()) playing = false;
    }
    lastTick_ = now;
}

void AnimationPlayback::Reset()
{
    set = -1;
    playing = false;
    seconds = 0;
    lastTick_.reset();
}

std::optional<std::string> AnimationOverlayLine(const Model& model, const AnimationPlayback& playback)
{
    if (playback.set < 0 || static_cast<std::size_t>(playback.set) >= model.animationSets.size()) return std::nullopt;
    const auto set = static_cast<std::size_t>(playback.set);
    const std::string name = animation_rules::DisplayName(model.animationSets[set], set);
    char line[400];
    std::snprintf(line, sizeof line, "Animation : %s %.2f / %.2f s", name.c_str(), playback.seconds,
                  TimingOf(model, set).LengthSeconds());
    return std::string(line);
}

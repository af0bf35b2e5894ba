// Playing an animation set in the viewer: which set, where in it, how fast,
// and the clock it follows.
#pragma once

#include "model/AnimationSampling.h"
#include "render/RenderModel.h"
#include "render/Scene.h"

#include <cstdint>
#include <optional>
#include <string>

class AnimationPlayback {
public:
    std::int32_t set = -1;  // the chosen set, -1 for none
    bool playing = false;
    double seconds = 0;  // into the set, as shown: wrapped into a loop, held within an open set
    double speed = 1;

    // Playing from where the time is; the first Advance takes the clock as
    // it finds it, so no time passes before it.
    void Start();
    void Stop() { playing = false; }
    // Back to the set's start; a set that plays goes on from there.
    void Rewind();
    // While playing, moves the time on by the clock's advance since the last
    // call (`now`, in milliseconds, 32-bit and wrapping) times the speed, so
    // that the set plays as fast at 30 frames a second as at 500. An open set
    // that reaches its end stops there.
    void Advance(std::uint32_t now, const AnimationTiming& timing);
    // Nothing chosen, nothing playing; the speed stays.
    void Reset();

private:
    std::optional<std::uint32_t> lastTick_;
};

// "Animation : %s %.2f / %.2f s" for the chosen set (its name, the time and
// the length in seconds); nothing while none is chosen.
std::optional<std::string> AnimationOverlayLine(const Model& model, const AnimationPlayback& playback);

#include "app/FrameRate.h"

#include <cstdio>

namespace {
// The counter goes back to 0 at a multiple of the period, long before it
// could overflow, so the period stays aligned.
constexpr std::int32_t kFrameCountRestart = kFpsPeriod * 25'000'000;
}  // namespace

void StartFrameClock(ShellState& state, const TickSource& ticks) { state.previousTick = ticks(); }

const std::string& UpdateFps(ShellState& state, const TickSource& ticks)
{
    ++state.frameCount;
    if (state.frameCount % kFpsPeriod != 0) return state.fpsText;
    if (state.frameCount >= kFrameCountRestart) state.frameCount = 0;

    const std::uint32_t now = ticks();
    const std::uint32_t elapsed = now - state.previousTick;  // unsigned: the wrap does no harm
    state.previousTick = now;
    if (elapsed != 0) state.fps = static_cast<float>(kFpsPeriod / (elapsed * 0.001));

    // At least one millisecond per period bounds the rate to 85000.
    char text[32];
    std::snprintf(text, sizeof text, "fps: %.3d", static_cast<int>(state.fps));
    state.fpsText = text;
    return state.fpsText;
}

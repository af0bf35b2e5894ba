// The frame counter and the frames-per-second line of the overlay.
#pragma once

#include "app/ShellState.h"

#include <cstdint>
#include <functional>
#include <string>

// Milliseconds, 32-bit and wrapping; platform::TickCount in the viewer.
using TickSource = std::function<std::uint32_t()>;

// Frames between two measurements of the rate.
constexpr std::int32_t kFpsPeriod = 85;

// Starts the first measurement period now, so that the first reading is a
// true rate rather than one measured from the tick counter's origin.
void StartFrameClock(ShellState& state, const TickSource& ticks);

// Counts one frame; every kFpsPeriod frames measures the rate and formats
// "fps: %.3d". Returns the last formatted line (empty before the first).
// A period that took no measurable time keeps the previous reading.
const std::string& UpdateFps(ShellState& state, const TickSource& ticks);

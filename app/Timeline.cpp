#include "app/Timeline.h"

#include "model/AnimationSampling.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kPositionsPerSecond = 100;
// Past this, a position is a longer step: the slider's integers stay far
// from overflowing, whatever length a file gives.
constexpr int kMostPositions = 10'000'000;

int PositionOf(double seconds, double length, int positions)
{
    if (positions == 0 || !(seconds > 0)) return 0;
    if (seconds >= length) return positions;
    const double position = positions < kMostPositions ? seconds * kPositionsPerSecond : seconds / length * positions;
    return std::clamp(static_cast<int>(std::lround(position)), 0, positions);
}

}  // namespace

std::optional<TimelineView> TimelineOf(const ShellState& state)
{
    const std::int32_t set = state.playback.set;
    if (!state.currentModel || set < 0 || static_cast<std::size_t>(set) >= state.currentModel->model.animationSets.size())
        return std::nullopt;
    const Model& model = state.currentModel->model;
    const auto index = static_cast<std::size_t>(set);
    TimelineView view;
    view.name = animation_rules::DisplayName(model.animationSets[index], index);
    view.seconds = state.playback.seconds;
    view.length = TimingOf(model, index).LengthSeconds();
    view.positions = TimelinePositions(view.length);
    view.position = PositionOf(view.seconds, view.length, view.positions);
    return view;
}

std::string TimelineTimeText(double seconds, double length)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f / %.2f s", seconds, length);
    return text;
}

int TimelinePositions(double length)
{
    if (!std::isfinite(length) || length <= 0) return 0;
    return static_cast<int>(std::min(std::ceil(length * kPositionsPerSecond), double{kMostPositions}));
}

double TimelineSecondsAt(int position, double length)
{
    const int positions = TimelinePositions(length);
    if (position <= 0 || positions == 0) return 0;
    if (position >= positions) return length;
    // Whole hundredths while the positions are; a share of the length past that.
    if (positions < kMostPositions) return position / kPositionsPerSecond;
    return length * position / positions;
}

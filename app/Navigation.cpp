#include "app/Navigation.h"

#include <cmath>

namespace {

ViewFrame MovedBy(const ViewFrame& frame, const Vector3& move)
{
    ViewFrame moved = frame;
    moved.centre = {frame.centre.x + move.x, frame.centre.y + move.y, frame.centre.z + move.z};
    // The start view keeps its fixed planes.
    if (frame.radius > 0) moved.radius = frame.radius + std::hypot(move.x, move.y, move.z);
    return moved;
}

}  // namespace

ViewFrame PannedFrame(const ViewFrame& frame, const SceneTurn& turn, float distance, float height, int dx, int dy)
{
    const double unit = SceneUnitsPerPixel(distance, height);
    // The scene follows the cursor: the centre moves the other way.
    const Vector3 seen{static_cast<float>(-dx * unit), static_cast<float>(dy * unit), 0.0f};
    return MovedBy(frame, ViewToModel(turn, seen));
}

ViewFrame RecentredFrame(const ViewFrame& frame, const Vector3& point)
{
    return MovedBy(frame, {point.x - frame.centre.x, point.y - frame.centre.y, point.z - frame.centre.z});
}

// The moves of the view beside the turn and the distance: the pan and a
// recentring on a point.
#pragma once

#include "render/Scene.h"

// The frame after a pan of (dx, dy) pixels (y down) in a window `height`
// pixels high: the point at the centre's depth under the cursor stays under
// it, the turn and the distance stay. A fitted frame's reach grows by the
// move, so that its planes still hold the model.
ViewFrame PannedFrame(const ViewFrame& frame, const SceneTurn& turn, float distance, float height, int dx, int dy);

// The frame turned about `point` instead, its reach grown by the move.
ViewFrame RecentredFrame(const ViewFrame& frame, const Vector3& point);

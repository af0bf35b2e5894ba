// The perspective for a client area, safe for an area without size.
#pragma once

#include "app/ShellState.h"

// The perspective of that aspect, or the projection left as it was when the
// area has no width or no height (a minimised window); the model-view
// matrix is selected afterwards either way.
// The planes of a fitted view follow `cameraDistance`.
void ApplyPerspective(const ShellState& state, float cameraDistance);

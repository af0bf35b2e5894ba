// The point of the model under a pixel of the viewer's window, read back
// from the depth of a frame drawn for it.
#pragma once

#include "app/ShellState.h"
#include "render/ViewOptions.h"

#include <optional>

// The scene drawn as the next frame would be (no overlay, nothing shown),
// then the depth under (x, y) (window pixels, y down) taken back into the
// model's axes. Nothing over the background or outside the window. Needs
// the window's OpenGL context current.
std::optional<Vector3> PickScenePoint(ShellState& state, const ViewOptions& options, int x, int y);

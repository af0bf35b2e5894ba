// The views along the axes, as a numeric pad gives them: the front (the
// start's turn), from above the up axis, from the model's right side.
#pragma once

#include "render/SceneFrame.h"

#include <optional>
#include <string_view>

enum class AxisView { Front, Top, Side };

// The camera turned to look along that axis; its centre and distance stay.
Camera AlongAxis(Camera camera, AxisView view);

// The view a command-line word names: "front", "top" or "side".
std::optional<AxisView> AxisViewOfWord(std::string_view word);

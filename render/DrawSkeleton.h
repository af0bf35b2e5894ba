// The skeleton of the drawn pose over the model: its bones as lines, its
// joints as points, in one colour that stands out from any model.
#pragma once

#include "render/RenderModel.h"

// Yellow, unlit, untextured, whatever lies in front: drawn in immediate mode
// after any draw path, under the model-view matrix the model was drawn with.
// Leaves the OpenGL state as it found it. Nothing for an empty skeleton.
void DrawSkeleton(const RenderModel& render);

// The colour it is drawn in, red, green, blue.
inline constexpr float kSkeletonColour[3] = {1.0f, 1.0f, 0.0f};

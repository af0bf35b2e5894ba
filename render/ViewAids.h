// The view aids drawn around the model: the ground grid, the axis gizmo and
// the gradient background. Each leaves the OpenGL state as it found it.
#pragma once

#include "render/RenderModel.h"
#include "render/ViewOptions.h"

#include <optional>

// The round length nearest above `length` / `cells`: 1, 2 or 5 times a power
// of ten, so that `cells` steps cover `length`. 1 for a length that is not
// positive and finite.
double GridStep(double length, int cells);

// Where the grid lies, in the coordinates the model is drawn in: the plane
// through the model's lowest point along the up axis (y; with "Axe vertical
// Z" the drawn z, whose sign flips as authored since the drawn z mirrors the
// model's), centred under the model, about ten steps wide.
struct GroundGrid {
    int upAxis = 1;                    // 1: y, 2: z
    float level = 0;                   // the plane's coordinate along the up axis
    float centre[2] = {0, 0};          // the middle of the grid along the two other axes (x first)
    float step = 1;                    // a cell's side
    int halfCells = 5;                 // cells on each side of the middle
};
// Nothing for a model with no box (no shown vertices, no joints).
std::optional<GroundGrid> GroundGridOf(const Model& model, const RenderModel& render, const ViewOptions& options);

// The grid, under the model-view matrix the model is drawn with, depth
// tested but not clipped by the near and far planes (a fitted view's planes
// hug the model, and the grid reaches past it).
void DrawGroundGrid(const GroundGrid& grid);

// The gizmo: x red, y green, z blue, turned as the scene is, in a square of
// the viewport's bottom-left corner (the overlay takes the top-left one).
void DrawAxisGizmo(const ViewOptions& options, float angleX, float angleY);
inline constexpr float kGizmoColours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

// A full-viewport quad from the top colour down to the bottom one, behind
// everything drawn afterwards.
void DrawBackgroundGradient();
inline constexpr float kGradientTop[3] = {0.62f, 0.66f, 0.72f};
inline constexpr float kGradientBottom[3] = {0.16f, 0.17f, 0.20f};

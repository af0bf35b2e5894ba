// One frame of the viewer, and the reaction to a new client size.
#pragma once

#include "app/FrameRate.h"
#include "app/Overlay.h"
#include "app/ShellState.h"
#include "render/Scene.h"
#include "render/SceneFrame.h"

#include <functional>

// Records the client size, then sets the viewport and the projection for it
// (an area without width or height leaves the projection as it was); the model-view matrix
// stays selected and untouched.
void ResizeGL(ShellState& state, int width, int height);
// Records the client size alone, for a window that has no context yet.
void RecordClientSize(ShellState& state, int width, int height);

// The frame the shell's state describes: the current model in the pose of
// the switches and the playback's time, seen from the camera at the distance
// the next frame is drawn from, at the window's size.
SceneFrame FrameOf(ShellState& state, const ViewOptions& options);

// The frame without its overlay (DrawSceneFrame), the clock left alone.
void DrawScene(ShellState& state, const ViewOptions& options);

// The last frame drawn again, as it was: the scene and the overlay with
// the frame rate last measured; no clock is read and nothing moves on.
void RedrawLastFrame(ShellState& state, const ViewOptions& options, OverlayFont& font);

// Moves the animation on, poses the current model, sets the projection and
// the camera, clears, draws the model along the path the switches select,
// draws the overlay, then presents the frame with `swapBuffers`.
void RenderFrame(ShellState& state, const ViewOptions& options, OverlayFont& font, const TickSource& ticks,
                 const std::function<void()>& swapBuffers);

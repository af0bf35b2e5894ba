// A picture of the scene as the window shows it, for "Enregistrer l'image…".
#pragma once

#include "app/ShellState.h"
#include "render/Scene.h"

#include <string>

// Draws the scene at the window's size without the overlay (the path, the
// mode, the light, the pose and the animation time as the frame has them)
// into the buffer frames are drawn in, reads it back and writes it to `path`
// as a PNG. The next frame draws over it. Returns an empty text on success,
// else what went wrong.
std::string WriteSceneImage(ShellState& state, const ViewOptions& options, const std::string& path);

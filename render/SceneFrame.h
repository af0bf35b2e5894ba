// One picture of the scene, described whole, and the one function that
// draws it: the viewer's frame, "Enregistrer l'image…" and pelmora-render
// all draw through it.
#pragma once

#include "render/RenderModel.h"
#include "render/Scene.h"
#include "render/ViewOptions.h"

#include <cstdint>
#include <optional>

class LoadedModel;

// Where the scene is seen from: the two turns (Y first, then X), the
// camera's distance and what the view turns about.
struct Camera {
    float angleX = 0;
    float angleY = 0;
    float distance = kStartCameraDistance;
    ViewFrame frame;
};

struct SceneFrame {
    LoadedModel* model = nullptr;  // null: the background alone
    PoseChoice pose;
    ViewOptions view;
    Camera camera;
    int width = 0;  // the picture's size, for the projection; no area leaves the projection as it was
    int height = 0;
    bool transparentBackground = false;  // cleared to transparent black whatever the background
};

// The pose a frame draws for the switches: the chosen set (-1 for none) at
// its time, only while the scene is drawn as authored.
PoseChoice PoseOf(const ViewOptions& view, std::int32_t set = -1, double seconds = 0);

// Poses the model, applies the view's OpenGL state, sets the projection and
// the camera, clears and draws the model (DrawModelScene). The viewport is
// the caller's.
void DrawSceneFrame(const SceneFrame& frame);

// The camera of `frame` fitted to its model in its pose, seen at the
// camera's turns (see FitView): "Cadrer le modèle" and pelmora-render's
// --fit. Nothing without a model that has vertices.
std::optional<Camera> FittedCamera(const SceneFrame& frame);

// The shell's process-wide state: window size, camera, mouse, frame rate and
// the one current model. The OpenGL context belongs to the window that
// draws, not to this state.
#pragma once

#include "app/Playback.h"
#include "render/LoadedModel.h"
#include "render/Scene.h"
#include "render/SceneFrame.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct ShellState {
    float windowWidth = 640;   // the outer size asked for; the client size once known
    float windowHeight = 480;
    float cameraDistance = kStartCameraDistance;
    // The distance the next frame is drawn from: the camera distance as the
    // last frame found it, or where a zoom step or a fitted view has put the
    // camera since. So a right-button move shows its first frame at nine
    // tenths of the old distance, and the frames after it at the cursor's.
    float drawnCameraDistance = kStartCameraDistance;
    float angleY = 0;  // degrees about the vertical axis
    float angleX = 0;  // degrees about the horizontal axis
    ViewFrame viewFrame;  // what the view turns about; the origin until the view is fitted
    std::int32_t lastMouseX = 0;
    std::int32_t lastMouseY = 0;
    std::int32_t panAnchorX = 0;  // where a pan last left the cursor
    std::int32_t panAnchorY = 0;
    // The camera of the first frame drawn since the model was opened (or
    // since the start): what "Vue initiale" goes back to. None until drawn.
    std::optional<Camera> firstView;
    // The user turned, moved or zoomed the view since it was last framed.
    bool cameraMovedByUser = false;
    std::unique_ptr<LoadedModel> currentModel;
    std::string openedPath;  // the file opened last, loaded or not: what "Recharger" opens
    AnimationPlayback playback;  // of the current model's sets
    std::int32_t frameCount = 0;
    std::uint32_t previousTick = 0;
    float fps = 0;
    std::string fpsText;
};

ShellState& TheShellState();

#include "render/SceneFrame.h"

#include "render/LoadedModel.h"
#include "render/ViewAids.h"

#include <GL/gl.h>

PoseChoice PoseOf(const ViewOptions& view, std::int32_t set, double seconds)
{
    // As read, the animation does not show: the pose stays the same however the time moves.
    PoseChoice choice;
    choice.vertexColors = view.vertexColors;
    if (!view.asAuthored) return choice;
    choice.asAuthored = true;
    choice.animationSet = set;
    choice.seconds = set >= 0 ? seconds : 0.0;
    return choice;
}

void DrawSceneFrame(const SceneFrame& frame)
{
    if (frame.model != nullptr) frame.model->ShowPose(frame.pose, SelectedPath(frame.view));
    ApplyViewState(frame.view);
    if (frame.transparentBackground) glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    const Camera& camera = frame.camera;
    if (frame.width > 0 && frame.height > 0)
        SetPerspective(static_cast<float>(frame.width), static_cast<float>(frame.height), camera.frame, camera.distance,
                       frame.view.orthographic);
    else
        glMatrixMode(GL_MODELVIEW);
    AimCamera(camera.distance);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (frame.view.background == Background::Gradient && !frame.transparentBackground) DrawBackgroundGradient();
    DrawModelScene(frame.model, frame.view, camera.angleX, camera.angleY, camera.frame.centre);
    if (frame.view.axes) DrawAxisGizmo(frame.view, camera.angleX, camera.angleY);
}

std::optional<Camera> FittedCamera(const SceneFrame& frame)
{
    if (frame.model == nullptr) return std::nullopt;
    frame.model->ShowPose(frame.pose, SelectedPath(frame.view));  // the vertices of the pose drawn
    const SceneTurn turn{frame.camera.angleX, frame.camera.angleY, frame.view.upZ, frame.view.asAuthored};
    const std::optional<FittedView> fitted =
        FitView(*frame.model, static_cast<float>(frame.width), static_cast<float>(frame.height), turn, frame.view.orthographic);
    if (!fitted) return std::nullopt;
    Camera camera = frame.camera;
    camera.frame = fitted->frame;
    camera.distance = fitted->distance;
    return camera;
}

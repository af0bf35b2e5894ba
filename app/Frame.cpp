#include "app/Frame.h"

#include "app/Projection.h"

#include <GL/gl.h>

void RecordClientSize(ShellState& state, int width, int height)
{
    state.windowWidth = static_cast<float>(width);
    state.windowHeight = static_cast<float>(height);
}

void ResizeGL(ShellState& state, int width, int height)
{
    RecordClientSize(state, width, height);
    glViewport(0, 0, width, height);
    ApplyPerspective(state, state.drawnCameraDistance);
}

namespace {

void DrawOverlay(const ShellState& state, const std::string& fpsLine, OverlayFont& font)
{
    DrawOverlayText(state, 0, kOverlayFirstLineY, fpsLine, font);
    const LoadedModel* loaded = state.currentModel.get();
    if (!loaded) return;
    float y = kOverlayFirstLineY;
    for (const std::string& line : ModelOverlayLines(loaded->model, state.fps)) {
        y += kOverlayLineStep;
        DrawOverlayText(state, 0, y, line, font);
    }
    if (const auto line = AnimationOverlayLine(loaded->model, state.playback))
        DrawOverlayText(state, 0, y + kOverlayLineStep, *line, font);
}

}  // namespace

SceneFrame FrameOf(ShellState& state, const ViewOptions& options)
{
    SceneFrame frame;
    frame.model = state.currentModel.get();
    frame.pose = PoseOf(options, state.playback.set, state.playback.seconds);
    frame.view = options;
    frame.camera = {state.angleX, state.angleY, state.drawnCameraDistance, state.viewFrame};
    frame.width = static_cast<int>(state.windowWidth);
    frame.height = static_cast<int>(state.windowHeight);
    return frame;
}

void DrawScene(ShellState& state, const ViewOptions& options) { DrawSceneFrame(FrameOf(state, options)); }

void RenderFrame(ShellState& state, const ViewOptions& options, OverlayFont& font, const TickSource& ticks,
                 const std::function<void()>& swapBuffers)
{
    LoadedModel* loaded = state.currentModel.get();
    if (loaded) {
        // The clock is read only while a set plays.
        AnimationPlayback& playback = state.playback;
        if (playback.playing && playback.set >= 0 &&
            static_cast<std::size_t>(playback.set) < loaded->model.animationSets.size())
            playback.Advance(ticks(), TimingOf(loaded->model, static_cast<std::size_t>(playback.set)));
    }
    const SceneFrame frame = FrameOf(state, options);
    DrawSceneFrame(frame);
    if (!state.firstView) state.firstView = frame.camera;

    DrawOverlay(state, UpdateFps(state, ticks), font);
    // What the next frame is drawn from, unless a command moves the camera first.
    state.drawnCameraDistance = state.cameraDistance;
    if (swapBuffers) swapBuffers();
}

void RedrawLastFrame(ShellState& state, const ViewOptions& options, OverlayFont& font)
{
    DrawScene(state, options);
    DrawOverlay(state, state.fpsText, font);
}

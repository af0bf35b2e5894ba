#include "app/ScenePick.h"

#include "app/Frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>

std::optional<Vector3> PickScenePoint(ShellState& state, const ViewOptions& options, int x, int y)
{
    const SceneFrame frame = FrameOf(state, options);
    if (frame.model == nullptr || x < 0 || y < 0 || x >= frame.width || y >= frame.height) return std::nullopt;
    DrawSceneFrame(frame);

    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    const GLint row = viewport[1] + viewport[3] - 1 - y, column = viewport[0] + x;
    if (column >= viewport[0] + viewport[2] || row < viewport[1]) return std::nullopt;
    GLfloat depth = 1.0f;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(column, row, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    if (!(depth < 1.0f)) return std::nullopt;  // the background

    // The camera's matrix alone: the point comes back in the turned axes,
    // about the centre.
    std::array<GLdouble, 16> modelView{}, projection{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    GLdouble px = 0, py = 0, pz = 0;
    if (gluUnProject(column + 0.5, row + 0.5, depth, modelView.data(), projection.data(), viewport.data(), &px, &py, &pz) !=
        GL_TRUE)
        return std::nullopt;
    const SceneTurn turn{frame.camera.angleX, frame.camera.angleY, options.upZ, options.asAuthored};
    const Vector3 offset = ViewToModel(turn, {static_cast<float>(px), static_cast<float>(py), static_cast<float>(pz)});
    const Vector3& centre = frame.camera.frame.centre;
    return Vector3{centre.x + offset.x, centre.y + offset.y, centre.z + offset.z};
}

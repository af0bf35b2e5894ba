#include "render/Scene.h"

#include "render/LoadedModel.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kFieldOfView = 45.0;
constexpr float kNearPlane = 0.1f;  // single precision, widened where GLU takes doubles
constexpr double kFarPlane = 1000.0;

}  // namespace

void InitGL(float width, float height)
{
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearColor(0.4f, 0.4f, 0.4f, 1.0f);
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    SetPerspective(width, height);
    AimCamera(kStartCameraDistance);

    // Given under the camera alone: the light stays put while the model turns.
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[] = {0.0f, 1.0f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

void SetPerspective(float width, float height, const ViewFrame& frame, float distance)
{
    if (height != 0.0f) {
        double nearPlane = static_cast<double>(kNearPlane), farPlane = kFarPlane;
        if (frame.radius > 0) {
            // The model lies within `radius` of the centre, `distance` away.
            const double radius = frame.radius, eye = std::fabs(static_cast<double>(distance));
            nearPlane = std::max(eye - 1.5 * radius, radius * 1e-3);
            farPlane = std::max(eye + 1.5 * radius, nearPlane * 2);
        }
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height), nearPlane, farPlane);
    }
    glMatrixMode(GL_MODELVIEW);
}

std::optional<FittedView> FitView(const LoadedModel& loaded, float width, float height)
{
    bool any = false;
    Vector3 low{}, high{};
    for (std::size_t m = 0; m < loaded.render.meshes.size() && m < loaded.model.meshes.size(); ++m) {
        if (loaded.model.meshes[m].vertices.empty()) continue;
        for (const Vector3& corner : loaded.render.meshes[m].boxCorners) {
            if (!any) low = high = corner;
            any = true;
            low = {std::min(low.x, corner.x), std::min(low.y, corner.y), std::min(low.z, corner.z)};
            high = {std::max(high.x, corner.x), std::max(high.y, corner.y), std::max(high.z, corner.z)};
        }
    }
    if (!any) return std::nullopt;
    FittedView view;
    view.frame.centre = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    const Vector3 half{(high.x - low.x) / 2, (high.y - low.y) / 2, (high.z - low.z) / 2};
    // A model of one point still gets a view of some size.
    view.frame.radius = std::max(std::sqrt(half.x * half.x + half.y * half.y + half.z * half.z), 1e-3f);
    // The sphere around the model fits the narrower of the two fields of view.
    const double halfHeight = kFieldOfView * std::numbers::pi / 360.0;
    const double aspect = height > 0 && width > 0 ? static_cast<double>(width) / height : 1.0;
    const double halfWidth = std::atan(std::tan(halfHeight) * aspect);
    view.distance = static_cast<float>(1.05 * view.frame.radius / std::sin(std::min(halfHeight, halfWidth)));
    return view;
}

void AimCamera(float distance)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, distance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

void SetPolygonFill(PolygonFill fill)
{
    const GLenum mode = fill == PolygonFill::Wire ? GL_LINE : fill == PolygonFill::Points ? GL_POINT : GL_FILL;
    glPolygonMode(GL_FRONT_AND_BACK, mode);
}

void SetLighting(bool on)
{
    if (on)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
}

void SetFrontFaceCounterClockwise(bool counterClockwise) { glFrontFace(counterClockwise ? GL_CCW : GL_CW); }

void ApplyFrontFace(const ViewOptions& options) { SetFrontFaceCounterClockwise(options.frontFaceCCW != options.asAuthored); }

void DrawModelScene(const LoadedModel* loaded, const ViewOptions& options, float angleX, float angleY,
                    const Vector3& centre)
{
    glPushMatrix();
    glRotatef(angleY, 0.0f, 1.0f, 0.0f);
    glRotatef(angleX, 1.0f, 0.0f, 0.0f);
    if (centre.x != 0 || centre.y != 0 || centre.z != 0) glTranslatef(-centre.x, -centre.y, -centre.z);
    if (loaded != nullptr) {
        const Model& model = loaded->model;
        const RenderModel& render = loaded->render;
        switch (SelectedPath(options)) {
        case DrawPath::DisplayList: render.DrawDisplayList(); break;
        case DrawPath::IndexedArrays: render.DrawIndexedArrays(model); break;
        case DrawPath::BufferObjects: render.DrawBufferObjects(model); break;
        case DrawPath::Immediate: render.DrawImmediate(model); break;
        }
        if (options.drawNormals) render.DrawNormals(model);
        if (options.drawBoundingBox) render.DrawBoundingBox();
    }
    glPopMatrix();
}

#include "render/Scene.h"

#include "render/LoadedModel.h"

#include <GL/gl.h>
#include <GL/glu.h>

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

void SetPerspective(float width, float height)
{
    if (height != 0.0f) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height),
                       static_cast<double>(kNearPlane), kFarPlane);
    }
    glMatrixMode(GL_MODELVIEW);
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

void DrawModelScene(const LoadedModel* loaded, const ViewOptions& options, float angleX, float angleY)
{
    glPushMatrix();
    glRotatef(angleY, 0.0f, 1.0f, 0.0f);
    glRotatef(angleX, 1.0f, 0.0f, 0.0f);
    if (loaded != nullptr) {
        const Model& model = loaded->model;
        const RenderModel& render = loaded->render;
        if (options.useDisplayList)
            render.DrawDisplayList();
        else if (options.useIndexedArrays)
            render.DrawIndexedArrays(model);
        else if (options.useBufferObjects)
            render.DrawBufferObjects(model);
        else
            render.DrawImmediate(model);
        if (options.drawNormals) render.DrawNormals(model);
        if (options.drawBoundingBox) render.DrawBoundingBox();
    }
    glPopMatrix();
}

#include "render/Scene.h"

#include "render/DrawSkeleton.h"
#include "render/LoadedModel.h"
#include "render/ViewAids.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>
#include <cmath>
#include <numbers>

namespace {

constexpr double kFieldOfView = 45.0;
constexpr float kNearPlane = 0.1f;  // single precision, widened where GLU takes doubles
constexpr double kFarPlane = 1000.0;
constexpr float kGrey = 0.4f;  // the clear colour of the start

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
    glClearColor(kGrey, kGrey, kGrey, 1.0f);
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

void SetPerspective(float width, float height, const ViewFrame& frame, float distance, bool orthographic)
{
    if (height != 0.0f) {
        double nearPlane = static_cast<double>(kNearPlane), farPlane = kFarPlane;
        const double eye = std::fabs(static_cast<double>(distance));
        if (frame.radius > 0) {
            // The model lies within `radius` of the centre, `distance` away.
            const double radius = frame.radius;
            nearPlane = std::max(eye - 1.5 * radius, radius * 1e-3);
            farPlane = std::max(eye + 1.5 * radius, nearPlane * 2);
        }
        const double aspect = static_cast<double>(width) / static_cast<double>(height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        if (orthographic) {
            // Nothing is behind the eye in a parallel view: the near plane may
            // lie behind it, so zooming in never cuts the model open.
            const double top = std::max(eye, 1e-6) * std::tan(kFieldOfView * std::numbers::pi / 360.0);
            nearPlane = frame.radius > 0 ? eye - 1.5 * frame.radius : -farPlane;
            glOrtho(-top * aspect, top * aspect, -top, top, nearPlane, farPlane);
        } else {
            gluPerspective(kFieldOfView, aspect, nearPlane, farPlane);
        }
    }
    glMatrixMode(GL_MODELVIEW);
}

double SceneUnitsPerPixel(float distance, float height)
{
    if (!(height > 0)) return 0;
    return 2 * std::fabs(static_cast<double>(distance)) * std::tan(kFieldOfView * std::numbers::pi / 360.0) / height;
}

float UpTurnDegrees(bool upZ, bool asAuthored)
{
    if (!upZ) return 0.0f;
    return asAuthored ? 90.0f : -90.0f;
}

namespace {

// The scene's turn as DrawModelScene makes it, as a function of a point.
class Turn {
public:
    explicit Turn(const SceneTurn& turn)
        : upSine_(UpTurnDegrees(turn.upZ, turn.asAuthored) / 90.0f),
          cosX_(std::cos(Radians(turn.angleX))),
          sinX_(std::sin(Radians(turn.angleX))),
          cosY_(std::cos(Radians(turn.angleY))),
          sinY_(std::sin(Radians(turn.angleY)))
    {
    }
    std::array<double, 3> Apply(double x, double y, double z) const
    {
        if (upSine_ != 0) std::tie(y, z) = std::pair(-upSine_ * z, upSine_ * y);  // a quarter turn about X
        const double y1 = y * cosX_ - z * sinX_, z1 = y * sinX_ + z * cosX_;
        return {x * cosY_ + z1 * sinY_, y1, -x * sinY_ + z1 * cosY_};
    }
    // The inverse: from the camera's axes back to the model's.
    std::array<double, 3> Undo(double x, double y, double z) const
    {
        const double x1 = x * cosY_ - z * sinY_, z1 = x * sinY_ + z * cosY_;
        double y2 = y * cosX_ + z1 * sinX_, z2 = -y * sinX_ + z1 * cosX_;
        if (upSine_ != 0) std::tie(y2, z2) = std::pair(upSine_ * z2, -upSine_ * y2);
        return {x1, y2, z2};
    }

private:
    static double Radians(float degrees) { return degrees * std::numbers::pi / 180.0; }
    double upSine_;  // the sine of the up turn: -1, 0 or 1
    double cosX_, sinX_, cosY_, sinY_;
};

}  // namespace

Vector3 ViewToModel(const SceneTurn& turn, const Vector3& direction)
{
    const auto d = Turn(turn).Undo(direction.x, direction.y, direction.z);
    return {static_cast<float>(d[0]), static_cast<float>(d[1]), static_cast<float>(d[2])};
}

std::optional<FittedView> FitView(const LoadedModel& loaded, float width, float height, const SceneTurn& sceneTurn,
                                  bool orthographic)
{
    // The posed vertices, turned as they will be seen (about the origin),
    // visited afresh by each pass rather than copied.
    const Turn turn(sceneTurn);
    // Hidden meshes are not what the picture holds; a model without meshes
    // is held by its frames' joints.
    auto forEachPoint = [&](auto&& visit) {
        for (std::size_t m = 0; m < loaded.render.meshes.size() && m < loaded.model.meshes.size(); ++m)
            if (loaded.render.MeshShown(m))
                for (const Vector3& v : loaded.render.Geometry(loaded.model, m).vertices) visit(turn.Apply(v.x, v.y, v.z));
        if (loaded.model.meshes.empty())
            for (const Vector3& j : loaded.render.SkeletonJoints()) visit(turn.Apply(j.x, j.y, j.z));
    };

    // The turned model's box: its middle is what the camera looks at.
    bool any = false;
    std::array<double, 3> low{}, high{};
    forEachPoint([&](const std::array<double, 3>& p) {
        if (!any) low = high = p;
        any = true;
        for (std::size_t a = 0; a < 3; ++a) low[a] = std::min(low[a], p[a]), high[a] = std::max(high[a], p[a]);
    });
    if (!any) return std::nullopt;
    std::array<double, 3> centre{(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2};
    const double radius = std::max(std::sqrt((high[0] - low[0]) * (high[0] - low[0]) + (high[1] - low[1]) * (high[1] - low[1]) +
                                             (high[2] - low[2]) * (high[2] - low[2])) / 2,
                                   1e-3);

    // Each axis's share of the window that the model may take, in the
    // projection's units (-1 to 1 across the window).
    const double w = width > 0 && height > 0 ? width : 1.0, h = width > 0 && height > 0 ? height : 1.0;
    const double cot = 1.0 / std::tan(kFieldOfView * std::numbers::pi / 360.0);
    const double scaleX = cot * h / w, scaleY = cot;
    const double limitX = kFitFill * std::min(w, h) / w, limitY = kFitFill * std::min(w, h) / h;

    double distance = 0;
    // A parallel view shows the box's middle in the middle, at a size that
    // depth does not change.
    if (orthographic)
        forEachPoint([&](const std::array<double, 3>& p) {
            distance = std::max({distance, std::fabs(p[0] - centre[0]) * scaleX / limitX,
                                 std::fabs(p[1] - centre[1]) * scaleY / limitY, 1e-3});
        });
    // Perspective makes the near side larger: centring on the box, then on
    // the picture the first distance gives, puts the model in the middle.
    for (int pass = 0; pass < 3 && !orthographic; ++pass) {
        distance = 0;
        double nearest = -std::numeric_limits<double>::infinity();
        forEachPoint([&](const std::array<double, 3>& p) {
            const double x = p[0] - centre[0], y = p[1] - centre[1], z = p[2] - centre[2];
            distance = std::max({distance, z + std::fabs(x) * scaleX / limitX, z + std::fabs(y) * scaleY / limitY});
            nearest = std::max(nearest, z);
        });
        distance = std::max(distance, nearest + 0.05 * radius);
        if (pass == 2) break;
        double left = 1, right = -1, bottom = 1, top = -1;
        forEachPoint([&](const std::array<double, 3>& p) {
            const double depth = distance - (p[2] - centre[2]);
            const double x = (p[0] - centre[0]) * scaleX / depth, y = (p[1] - centre[1]) * scaleY / depth;
            left = std::min(left, x), right = std::max(right, x), bottom = std::min(bottom, y), top = std::max(top, y);
        });
        centre[0] += (left + right) / 2 * distance / scaleX;
        centre[1] += (bottom + top) / 2 * distance / scaleY;
    }

    FittedView view;
    const auto modelCentre = turn.Undo(centre[0], centre[1], centre[2]);
    view.frame.centre = {static_cast<float>(modelCentre[0]), static_cast<float>(modelCentre[1]),
                         static_cast<float>(modelCentre[2])};
    double reach = 0;  // how far the model lies from the centre, for the planes
    forEachPoint([&](const std::array<double, 3>& p) {
        reach = std::max(reach, std::hypot(p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]));
    });
    view.frame.radius = static_cast<float>(std::max(reach, 1e-3));
    view.distance = static_cast<float>(distance);
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

void ApplyViewState(const ViewOptions& options)
{
    SetPolygonFill(options.fill);
    SetLighting(options.lighting);
    ApplyFrontFace(options);
    switch (options.background) {
    case Background::Black: glClearColor(0.0f, 0.0f, 0.0f, 1.0f); break;
    case Background::White: glClearColor(1.0f, 1.0f, 1.0f, 1.0f); break;
    case Background::Grey:
    case Background::Gradient: glClearColor(kGrey, kGrey, kGrey, 1.0f); break;
    }
}

void DrawModelScene(const LoadedModel* loaded, const ViewOptions& options, float angleX, float angleY,
                    const Vector3& centre)
{
    glPushMatrix();
    glRotatef(angleY, 0.0f, 1.0f, 0.0f);
    glRotatef(angleX, 1.0f, 0.0f, 0.0f);
    if (options.upZ) glRotatef(UpTurnDegrees(options.upZ, options.asAuthored), 1.0f, 0.0f, 0.0f);
    if (centre.x != 0 || centre.y != 0 || centre.z != 0) glTranslatef(-centre.x, -centre.y, -centre.z);
    if (loaded != nullptr) {
        const Model& model = loaded->model;
        const RenderModel& render = loaded->render;
        if (options.grid)
            if (const auto grid = GroundGridOf(model, render, options)) DrawGroundGrid(*grid);
        DrawPathOf(SelectedPath(options)).draw(render, model);
        if (options.drawNormals) render.DrawNormals(model);
        if (options.drawBoundingBox) render.DrawBoundingBox();
        if (options.selectedMesh >= 0) render.DrawMeshBoundingBox(static_cast<std::size_t>(options.selectedMesh));
        if (options.skeleton) DrawSkeleton(render);
    }
    glPopMatrix();
}

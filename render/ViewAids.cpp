#include "render/ViewAids.h"

#include "render/IdentityMatrices.h"
#include "render/Scene.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kGridCells = 10;          // about this many across
constexpr float kGridShareOfModel = 2;  // the grid reaches past the model on every side
constexpr float kGridColour[3] = {0.75f, 0.75f, 0.75f};
constexpr int kGizmoMinSide = 32, kGizmoMaxSide = 120;  // pixels

// Everything an aid changes, put back when it ends.
class AidStateScope {
public:
    AidStateScope()
    {
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_DEPTH_BUFFER_BIT | GL_VIEWPORT_BIT |
                     GL_POLYGON_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    ~AidStateScope() { glPopAttrib(); }
    AidStateScope(const AidStateScope&) = delete;
    AidStateScope& operator=(const AidStateScope&) = delete;
};

}  // namespace

double GridStep(double length, int cells)
{
    if (!(length > 0) || !std::isfinite(length) || cells < 1) return 1;
    const double wanted = length / cells;
    double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (;;) {
        for (const double factor : {1.0, 2.0, 5.0})
            if (factor * power >= wanted * (1 - 1e-9)) return factor * power;
        power *= 10;
    }
}

std::optional<GroundGrid> GroundGridOf(const Model& model, const RenderModel& render, const ViewOptions& options)
{
    bool any = false;
    Vector3 low{}, high{};
    auto take = [&](const Vector3& p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
        if (!any) low = high = p;
        any = true;
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    };
    for (std::size_t m = 0; m < render.meshes.size() && m < model.meshes.size(); ++m)
        if (render.MeshShown(m) && !render.Geometry(model, m).vertices.empty())
            for (const Vector3& p : render.meshes[m].boxCorners) take(p);
    if (model.meshes.empty())
        for (const Vector3& p : render.SkeletonJoints()) take(p);
    if (!any) return std::nullopt;

    GroundGrid grid;
    grid.upAxis = options.upZ ? 2 : 1;
    // As authored the turn that stands z up sends the drawn -z up (see UpTurnDegrees).
    const bool downIsHigh = options.upZ && UpTurnDegrees(true, options.asAuthored) > 0;
    grid.level = grid.upAxis == 2 ? (downIsHigh ? high.z : low.z) : low.y;
    const float acrossLow[2] = {low.x, grid.upAxis == 2 ? low.y : low.z};
    const float acrossHigh[2] = {high.x, grid.upAxis == 2 ? high.y : high.z};
    const double extent = std::max({static_cast<double>(acrossHigh[0]) - acrossLow[0],
                                    static_cast<double>(acrossHigh[1]) - acrossLow[1],
                                    static_cast<double>(high.x) - low.x, static_cast<double>(high.y) - low.y,
                                    static_cast<double>(high.z) - low.z});
    grid.step = static_cast<float>(GridStep(extent * kGridShareOfModel, kGridCells));
    if (!std::isfinite(grid.step) || grid.step <= 0) return std::nullopt;  // a model too large for floats
    grid.halfCells = kGridCells / 2;
    // The middle on a grid line, so that the lines keep their places as the model moves a little.
    for (int a = 0; a < 2; ++a)
        grid.centre[a] = std::round((acrossLow[a] + acrossHigh[a]) / 2 / grid.step) * grid.step;
    return grid;
}

void DrawGroundGrid(const GroundGrid& grid)
{
    const AidStateScope state;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_DEPTH_CLAMP);  // beyond the planes the lines are kept, at the plane's depth
    glLineWidth(1.0f);
    glColor3f(kGridColour[0], kGridColour[1], kGridColour[2]);
    const float reach = static_cast<float>(grid.halfCells) * grid.step;
    auto vertex = [&](float a, float b) {
        if (grid.upAxis == 2)
            glVertex3f(a, b, grid.level);
        else
            glVertex3f(a, grid.level, b);
    };
    glBegin(GL_LINES);
    for (int k = -grid.halfCells; k <= grid.halfCells; ++k) {
        const float offset = static_cast<float>(k) * grid.step;
        vertex(grid.centre[0] + offset, grid.centre[1] - reach);
        vertex(grid.centre[0] + offset, grid.centre[1] + reach);
        vertex(grid.centre[0] - reach, grid.centre[1] + offset);
        vertex(grid.centre[0] + reach, grid.centre[1] + offset);
    }
    glEnd();
}

void DrawAxisGizmo(const ViewOptions& options, float angleX, float angleY)
{
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const GLint side = std::clamp(std::min(viewport[2], viewport[3]) / 5, kGizmoMinSide, kGizmoMaxSide);
    if (viewport[2] <= 0 || viewport[3] <= 0) return;
    const AidStateScope state;
    glDisable(GL_DEPTH_TEST);
    glViewport(viewport[0], viewport[1], side, side);
    const IdentityMatricesScope matrices;
    glOrtho(-1, 1, -1, 1, -1, 1);
    glRotatef(angleY, 0.0f, 1.0f, 0.0f);
    glRotatef(angleX, 1.0f, 0.0f, 0.0f);
    if (options.upZ) glRotatef(UpTurnDegrees(options.upZ, options.asAuthored), 1.0f, 0.0f, 0.0f);
    if (options.asAuthored) glScalef(1.0f, 1.0f, -1.0f);  // the model's axes, whose z is drawn mirrored
    glLineWidth(3.0f);
    glBegin(GL_LINES);
    for (int axis = 0; axis < 3; ++axis) {
        glColor3fv(kGizmoColours[axis]);
        float end[3] = {0, 0, 0};
        end[axis] = 0.8f;
        glVertex3f(0, 0, 0);
        glVertex3fv(end);
    }
    glEnd();
}

void DrawBackgroundGradient()
{
    const AidStateScope state;
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    const IdentityMatricesScope matrices;
    glBegin(GL_QUADS);
    glColor3fv(kGradientBottom);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glColor3fv(kGradientTop);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
}

// The scene as both the viewer and the offscreen renderer draw it: the fixed
// OpenGL state, projection and camera, the view switches, and the drawing of
// a model along the path the switches select.
#pragma once

#include "model/Records.h"
#include "render/DrawPaths.h"
#include "render/RenderModel.h"
#include "render/ViewOptions.h"

#include <optional>

class LoadedModel;

constexpr float kStartCameraDistance = 10.0f;

// OpenGL state for everything drawn afterwards; ApplyViewState sets them all
// from the view value.
void SetPolygonFill(PolygonFill fill);
void SetLighting(bool on);
void SetFrontFaceCounterClockwise(bool counterClockwise);
// The front face the switches ask for: counter-clockwise unless flipped by
// "Inverse Culling", and flipped once more while drawing as authored (the
// mirror from DirectX's handedness turns every winding over).
void ApplyFrontFace(const ViewOptions& options);
// The OpenGL state the view value stands for: polygon mode, lighting, front
// face, clear colour. Applied after each command and before each frame, so
// that a change behind the value's back lasts one frame at most.
void ApplyViewState(const ViewOptions& options);

// Fixed state, viewport, projection, camera at the start distance, light 0.
void InitGL(float width, float height);
// Where the view turns and what it must hold: the start view turns about the
// origin between fixed planes; a view fitted to a model turns about the
// model's centre, with planes that follow the camera distance and the
// model's size.
struct ViewFrame {
    Vector3 centre{};
    float radius = 0;  // 0: the start view
};

// Projection: identity, then a 45 degree perspective of that aspect, near
// 0.1f, far 1000 (for a fitted frame, planes around the model at `distance`);
// leaves the model-view matrix selected. A height of 0 leaves the projection
// as it was. Orthographic: the box that shows what the perspective shows at
// the centre's depth (half-height `distance`·tan 22.5°), planes as in
// perspective but never cutting off what lies between the eye and the centre.
void SetPerspective(float width, float height, const ViewFrame& frame = {}, float distance = 0,
                    bool orthographic = false);

// How the scene is turned before it is seen: by the two mouse angles (Y
// first, then X), and first of all from z up to y up when asked.
struct SceneTurn {
    float angleX = 0;
    float angleY = 0;
    bool upZ = false;
    bool asAuthored = false;  // drawn mirrored in z (ViewOptions::asAuthored)
};

// The quarter turn about X, in degrees, that stands the model's z up. As
// authored the drawn z is the model's mirrored, so the turn goes the other
// way: the model's +z ends at the top either way. 0 without "Axe vertical Z".
float UpTurnDegrees(bool upZ, bool asAuthored);

// The view that holds the whole model as it is drawn (its posed vertices),
// seen turned by `turn`: centred on the model's picture, the camera at the
// distance where the model's larger extent fills kFitFill of the window's
// smaller side; nothing for a model without vertices.
struct FittedView {
    ViewFrame frame;
    float distance = 0;
};
constexpr double kFitFill = 0.85;
std::optional<FittedView> FitView(const LoadedModel& loaded, float width, float height, const SceneTurn& turn = {},
                                  bool orthographic = false);
// A direction seen in the camera's axes (x right, y up, z toward the eye),
// in the model's axes: what DrawModelScene's turn takes back.
Vector3 ViewToModel(const SceneTurn& turn, const Vector3& direction);
// The size in the scene, at the centre's depth, of one pixel of a window
// `height` pixels high seen from `distance` (perspective and orthographic alike).
double SceneUnitsPerPixel(float distance, float height);
// Model-view: identity, then the eye at (0, 0, distance) looking at the origin.
void AimCamera(float distance);
// Pushes the model-view matrix, turns by the two angles (Y first, then X)
// about `centre` (after turning the model's z up when `options.upZ`), draws the ground grid when asked, the model
// along the selected path and the extras, pops the matrix. A null model draws nothing.
void DrawModelScene(const LoadedModel* loaded, const ViewOptions& options, float angleX, float angleY,
                    const Vector3& centre = {});

// The scene as both the viewer and the offscreen renderer draw it: the fixed
// OpenGL state, projection and camera, the view switches, and the drawing of
// a model along the path the switches select.
#pragma once

class LoadedModel;

// Switches set by the menu commands and read by the frame.
struct ViewOptions {
    bool useDisplayList = false;
    bool useIndexedArrays = false;
    bool useBufferObjects = true;
    bool drawNormals = false;
    bool drawBoundingBox = false;
    bool frontFaceCCW = true;
};

// The process-wide switches.
ViewOptions& TheViewOptions();

constexpr float kStartCameraDistance = 10.0f;

// How polygons are drawn, front and back: filled, as lines, as points.
enum class PolygonFill { Fill, Wire, Points };

// View settings that live only in the OpenGL state (and the menu's marks):
// they apply to everything drawn afterwards.
void SetPolygonFill(PolygonFill fill);
void SetLighting(bool on);
void SetFrontFaceCounterClockwise(bool counterClockwise);

// Fixed state, viewport, projection, camera at the start distance, light 0.
void InitGL(float width, float height);
// Projection: identity, then a 45 degree perspective of that aspect, near
// 0.1f, far 1000; leaves the model-view matrix selected. A height of 0 leaves
// the projection as it was.
void SetPerspective(float width, float height);
// Model-view: identity, then the eye at (0, 0, distance) looking at the origin.
void AimCamera(float distance);
// Pushes the model-view matrix, turns by the two angles (Y first, then X),
// draws the model along the selected path and the extras, pops the matrix.
// A null model draws nothing.
void DrawModelScene(const LoadedModel* loaded, const ViewOptions& options, float angleX, float angleY);

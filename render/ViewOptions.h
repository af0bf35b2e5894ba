// The one value for how the scene is seen: the draw path, the extras, the
// polygon mode, the lighting, the up axis, the aids and the background.
// The viewer's shell owns it; pelmora-render builds it from its options.
#pragma once

#include <cstdint>

// How polygons are drawn, front and back: filled, as lines, as points.
enum class PolygonFill { Fill, Wire, Points };

// What the frame is cleared to: the grey of the start, black, white, or a
// gradient (cleared to the grey until it is drawn).
enum class Background { Grey, Black, White, Gradient };

struct ViewOptions {
    // The draw path (see DrawPaths.h): at most one on; none is immediate mode.
    bool useDisplayList = false;
    bool useIndexedArrays = false;
    bool useBufferObjects = true;
    bool drawNormals = false;
    bool drawBoundingBox = false;
    bool frontFaceCCW = true;
    bool asAuthored = false;  // meshes placed by their frames and bones, in OpenGL's handedness
    bool upZ = false;         // "Axe vertical Z": the scene turned so that the model's z points up
    bool vertexColors = false;  // "Couleurs des sommets": a mesh's vertex colours as its diffuse colour
    PolygonFill fill = PolygonFill::Fill;
    bool lighting = true;
    bool orthographic = false;
    bool skeleton = false;
    bool grid = false;
    bool axes = false;
    Background background = Background::Grey;
    bool scenePanel = false;         // "Scène": the panel of the scene's parts beside the picture
    std::int32_t selectedMesh = -1;  // the mesh whose box is drawn (chosen in the panel); -1 for none
};

// The viewer's value.
ViewOptions& TheViewOptions();

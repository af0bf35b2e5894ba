#include "render/AxisViews.h"

Camera AlongAxis(Camera camera, AxisView view)
{
    // The up axis is the scene's y once the up turn is made: +90 about X
    // brings it toward the eye, -90 about Y brings the model's +x there.
    camera.angleX = view == AxisView::Top ? 90.0f : 0.0f;
    camera.angleY = view == AxisView::Side ? -90.0f : 0.0f;
    return camera;
}

std::optional<AxisView> AxisViewOfWord(std::string_view word)
{
    if (word == "front") return AxisView::Front;
    if (word == "top") return AxisView::Top;
    if (word == "side") return AxisView::Side;
    return std::nullopt;
}

#include "app/Projection.h"

#include "render/Scene.h"

#include <GL/gl.h>

void ApplyPerspective(const ShellState& state, float cameraDistance)
{
    if (state.windowWidth > 0 && state.windowHeight > 0)
        SetPerspective(state.windowWidth, state.windowHeight, state.viewFrame, cameraDistance);
    else
        glMatrixMode(GL_MODELVIEW);
}

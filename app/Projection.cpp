#include "app/Projection.h"

#include "render/Scene.h"

#include <GL/gl.h>

void ApplyPerspective(float width, float height)
{
    if (width > 0 && height > 0)
        SetPerspective(width, height);
    else
        glMatrixMode(GL_MODELVIEW);
}

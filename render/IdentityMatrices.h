// Drawing in window coordinates for a moment: both matrices kept, set to
// identity, then put back (the model-view matrix selected again).
#pragma once

#include <GL/gl.h>

class IdentityMatricesScope {
public:
    IdentityMatricesScope()
    {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    ~IdentityMatricesScope()
    {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    IdentityMatricesScope(const IdentityMatricesScope&) = delete;
    IdentityMatricesScope& operator=(const IdentityMatricesScope&) = delete;
};

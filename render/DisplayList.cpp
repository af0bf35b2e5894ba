#include "model/Model.h"

void Model::BuildDisplayList()
{
    // A list still held would be lost with its name: give it back first.
    if (displayList != kNoGlName) glDeleteLists(displayList, 1);
    const GLuint list = glGenLists(1);
    displayList = list == 0 ? kNoGlName : list;
    if (displayList == kNoGlName) return;
    glNewList(list, GL_COMPILE);
    DrawImmediate();
    glEndList();
}

void Model::DrawDisplayList() const
{
    if (displayList != kNoGlName) glCallList(displayList);
}

#include "render/RenderModel.h"

void RenderModel::BuildDisplayList(const Model& model)
{
    displayList.Reset();  // a list still held would be lost with its name
    const GLuint list = glGenLists(1);
    if (list == 0) return;
    displayList = platform::GlName(platform::GlObjectKind::DisplayList, list);
    glNewList(list, GL_COMPILE);
    DrawImmediate(model);
    glEndList();
    listVersion_ = geometryVersion_;
}

void RenderModel::DrawDisplayList() const
{
    if (displayList) glCallList(displayList.get());
}

#include "render/RenderModel.h"

void RenderModel::BuildDisplayList(const Model& model)
{
    displayList.Reset();  // a list still held would be lost with its name
    const GLuint list = glGenLists(1);
    if (list == 0) return;
    displayList = platform::GlName(platform::GlObjectKind::DisplayList, list);
    RecompileDisplayList(model);
}

void RenderModel::RecompileDisplayList(const Model& model)
{
    if (!displayList) return;
    // The same name takes the new contents: a pose a frame makes no name.
    glNewList(displayList.get(), GL_COMPILE);
    DrawImmediate(model);
    glEndList();
    listVersion_ = geometryVersion_;
}

void RenderModel::DrawDisplayList() const
{
    if (displayList) glCallList(displayList.get());
}

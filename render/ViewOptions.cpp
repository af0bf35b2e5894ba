#include "render/Scene.h"

ViewOptions& TheViewOptions()
{
    static ViewOptions options;
    return options;
}

DrawPath SelectedPath(const ViewOptions& options)
{
    if (options.useDisplayList) return DrawPath::DisplayList;
    if (options.useIndexedArrays) return DrawPath::IndexedArrays;
    if (options.useBufferObjects) return DrawPath::BufferObjects;
    return DrawPath::Immediate;
}

void SelectPath(ViewOptions& options, DrawPath path)
{
    options.useDisplayList = path == DrawPath::DisplayList;
    options.useIndexedArrays = path == DrawPath::IndexedArrays;
    options.useBufferObjects = path == DrawPath::BufferObjects;
}

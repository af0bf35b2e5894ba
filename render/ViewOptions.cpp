#include "render/Scene.h"

ViewOptions& TheViewOptions()
{
    static ViewOptions options;
    return options;
}

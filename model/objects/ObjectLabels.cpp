#include "model/objects/ObjectLabels.h"

namespace objects {

namespace {
std::string Quoted(std::string_view name)
{
    std::string quoted(1, '"');
    quoted += name;
    quoted += '"';
    return quoted;
}
}  // namespace

std::string ObjectLabel(std::string_view type, std::string_view name)
{
    std::string label = "l'objet ";
    label += type;
    if (!name.empty()) label += ' ' + Quoted(name);
    return label;
}

std::string MeshPartLabel(std::string_view type, std::string_view meshName)
{
    std::string label = "l'objet ";
    label += type;
    label += " de la mesh " + Quoted(meshName);
    return label;
}

}  // namespace objects

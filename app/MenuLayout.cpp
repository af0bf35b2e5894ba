#include "app/MenuLayout.h"

#include "app/AnimationMenu.h"
#include "platform/AsciiCase.h"

namespace {

MenuNode Item(int id, const char* text) { return {MenuNode::Kind::Command, id, text, false, false, {}, {}}; }
MenuNode CheckItem(int id, const char* text, bool marked)
{
    return {MenuNode::Kind::Command, id, text, true, marked, {}, {}};
}
MenuNode ShortcutItem(int id, const char* text, const char* accelerator)
{
    return {MenuNode::Kind::Command, id, text, false, false, {}, accelerator};
}
MenuNode Separator() { return {MenuNode::Kind::Separator, 0, {}, false, false, {}, {}}; }
MenuNode Submenu(const char* text, std::vector<MenuNode> entries)
{
    return {MenuNode::Kind::Submenu, 0, text, false, false, std::move(entries), {}};
}

}  // namespace

const std::vector<MenuNode>& MainMenuLayout()
{
    static const std::vector<MenuNode> layout = {
        Submenu("Fichier",
                {
                    Item(command::LoadMesh, "Load Mesh"),
                    Item(command::SaveText, "Save txt"),
                    Separator(),
                    Item(command::Quit, "Quit"),
                }),
        Submenu("Options",
                {
                    Item(command::Infos, "Infos"),
                    Submenu("Mode",
                            {
                                CheckItem(command::FillPolygons, "Fill Polygons", true),
                                CheckItem(command::WirePolygons, "Wire Polygons", false),
                                CheckItem(command::VertexPolygons, "Vertexes Polygons", false),
                            }),
                    CheckItem(command::Light, "Light", true),
                    Separator(),
                    CheckItem(command::DrawNormals, "Draw Normales", false),
                    Item(command::ComputeNormals, "Compute Normales"),
                    CheckItem(command::DisplayList, "Liste GL", false),
                    CheckItem(command::IndexedArrays, "Indexed Primitive", false),
                    CheckItem(command::BufferObjects, "Indexed Primitive ARB", true),
                    Separator(),
                    CheckItem(command::BoundingBox, "Bounding Box", false),
                    Separator(),
                    Item(command::InverseCulling, "Inverse Culling"),
                    Item(command::InverseNormals, "Inverse Normales"),
                    Separator(),
                    CheckItem(command::AsAuthored, "Scène telle que créée", false),
                    ShortcutItem(command::FitView, "Cadrer le modèle", "F"),
                }),
        AnimationMenu(nullptr, 1.0),
    };
    return layout;
}

int CommandOfAccelerator(const std::vector<MenuNode>& nodes, std::string_view accelerator)
{
    int found = 0;
    ForEachMenuCommand(nodes, [&](const MenuNode& node) {
        if (found == 0 && !node.accelerator.empty() && platform::EqualIgnoringAsciiCase(node.accelerator, accelerator))
            found = node.id;
    });
    return found;
}

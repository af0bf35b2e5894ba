#include "app/MenuLayout.h"

#include "app/AnimationMenu.h"
#include "platform/AsciiCase.h"

MenuNode MenuItem(int id, std::string text, std::string accelerator)
{
    MenuNode node;
    node.id = id;
    node.text = std::move(text);
    node.accelerator = std::move(accelerator);
    return node;
}

MenuNode MenuCheckItem(int id, std::string text, bool marked, std::string accelerator)
{
    MenuNode node = MenuItem(id, std::move(text), std::move(accelerator));
    node.checkable = true;
    node.marked = marked;
    return node;
}

MenuNode MenuRadioItem(int id, std::string text, bool marked)
{
    MenuNode node = MenuCheckItem(id, std::move(text), marked);
    node.radio = true;
    return node;
}

MenuNode MenuSeparator()
{
    MenuNode node;
    node.kind = MenuNode::Kind::Separator;
    return node;
}

MenuNode MenuSubmenu(std::string text, std::vector<MenuNode> entries)
{
    MenuNode node;
    node.kind = MenuNode::Kind::Submenu;
    node.text = std::move(text);
    node.entries = std::move(entries);
    return node;
}

namespace {

// A draw path's item, marked when the path is the one at start.
MenuNode DrawPathItem(DrawPath path)
{
    const DrawPathEntry& entry = DrawPathOf(path);
    return MenuCheckItem(entry.menuCommand, std::string(entry.menuText), ViewOptions{}.*entry.flag);
}

}  // namespace

const std::vector<MenuNode>& MainMenuLayout()
{
    static const std::vector<MenuNode> layout = {
        MenuSubmenu("Fichier",
                {
                    MenuItem(command::LoadMesh, "Load Mesh", "Ctrl+O"),
                    MenuItem(command::Reload, "Recharger", "F5"),
                    MenuItem(command::SaveText, "Save txt", "Ctrl+S"),
                    MenuItem(command::SaveImage, "Enregistrer l'image…"),
                    MenuItem(command::ExportGltf, "Exporter en glTF…", "Ctrl+E"),
                    MenuSeparator(),
                    MenuItem(command::Quit, "Quit", "Ctrl+Q"),
                }),
        MenuSubmenu("Options",
                {
                    MenuItem(command::Infos, "Infos"),
                    MenuSubmenu("Mode",
                            {
                                MenuCheckItem(command::FillPolygons, "Fill Polygons", true),
                                MenuCheckItem(command::WirePolygons, "Wire Polygons", false),
                                MenuCheckItem(command::VertexPolygons, "Vertexes Polygons", false),
                            }),
                    MenuCheckItem(command::Light, "Light", true),
                    MenuSeparator(),
                    MenuCheckItem(command::DrawNormals, "Draw Normales", false),
                    MenuItem(command::ComputeNormals, "Compute Normales"),
                    DrawPathItem(DrawPath::DisplayList),
                    DrawPathItem(DrawPath::IndexedArrays),
                    DrawPathItem(DrawPath::BufferObjects),
                    MenuSeparator(),
                    MenuCheckItem(command::BoundingBox, "Bounding Box", false),
                    MenuSeparator(),
                    MenuItem(command::InverseCulling, "Inverse Culling"),
                    MenuItem(command::InverseNormals, "Inverse Normales"),
                    MenuSeparator(),
                    MenuCheckItem(command::AsAuthored, "Scène telle que créée", false),
                    MenuItem(command::FitView, "Cadrer le modèle", "F"),
                    MenuCheckItem(command::UpAxisZ, "Axe vertical Z", false),
                    MenuCheckItem(command::VertexColors, "Couleurs des sommets", false),
                }),
        MenuSubmenu("Vue",
                {
                    MenuItem(command::FirstView, "Vue initiale", "R"),
                    MenuItem(command::FrontView, "Vue de face", "1"),
                    MenuItem(command::TopView, "Vue de dessus", "7"),
                    MenuItem(command::SideView, "Vue de côté", "3"),
                    MenuCheckItem(command::Orthographic, "Projection orthographique", false, "5"),
                    MenuSeparator(),
                    MenuCheckItem(command::Skeleton, "Squelette", false, "K"),
                    MenuCheckItem(command::Grid, "Grille", false, "G"),
                    MenuCheckItem(command::Axes, "Axes", false, "A"),
                    MenuSubmenu("Fond",
                            {
                                MenuRadioItem(command::BackgroundGrey, "Gris", true),
                                MenuRadioItem(command::BackgroundBlack, "Noir", false),
                                MenuRadioItem(command::BackgroundWhite, "Blanc", false),
                                MenuRadioItem(command::BackgroundGradient, "Dégradé", false),
                            }),
                    MenuSeparator(),
                    MenuCheckItem(command::ScenePanel, "Scène", false, "F9"),
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

// The main window's menu bar: its command ids, texts, check marks and
// separators. The viewer builds its menu bar from this table.
#pragma once

#include "render/DrawPaths.h"

#include <string>
#include <string_view>
#include <vector>

namespace command {
constexpr int LoadMesh = 40001;
constexpr int Quit = 40002;
constexpr int DrawNormals = 40003;
constexpr int FillPolygons = 40005;
constexpr int WirePolygons = 40006;
constexpr int VertexPolygons = 40007;
constexpr int Light = 40008;
constexpr int Infos = 40009;
constexpr int SaveText = 40010;
constexpr int InverseCulling = 40011;
constexpr int ComputeNormals = 40012;
constexpr int InverseNormals = 40013;
// The draw paths' items, from their table.
constexpr int DisplayList = DrawPathOf(DrawPath::DisplayList).menuCommand;
constexpr int IndexedArrays = DrawPathOf(DrawPath::IndexedArrays).menuCommand;
constexpr int BoundingBox = 103;
constexpr int BufferObjects = DrawPathOf(DrawPath::BufferObjects).menuCommand;
constexpr int Reload = 40016;
constexpr int SaveImage = 40017;
constexpr int ExportGltf = 40018;
constexpr int AsAuthored = 40101;
constexpr int FitView = 40102;
constexpr int UpAxisZ = 40103;
constexpr int VertexColors = 40104;
// The "Vue" menu.
constexpr int FirstView = 40401;
constexpr int FrontView = 40402;
constexpr int TopView = 40403;
constexpr int SideView = 40404;
constexpr int Orthographic = 40405;
constexpr int Skeleton = 40411;
constexpr int Grid = 40412;
constexpr int Axes = 40413;
constexpr int BackgroundGrey = 40421;  // the "Fond" radio run, in the order of Background
constexpr int BackgroundBlack = 40422;
constexpr int BackgroundWhite = 40423;
constexpr int BackgroundGradient = 40424;
constexpr int ScenePanel = 40431;
// The "Animation" menu (AnimationMenu.h).
constexpr int PlayPause = 40201;
constexpr int RewindAnimation = 40202;
constexpr int PreviousKey = 40203;
constexpr int NextKey = 40204;
constexpr int StepBack = 40205;
constexpr int StepForward = 40206;
constexpr int GoToEnd = 40207;
constexpr int FirstSpeed = 40211;         // one per speed, in menu order
constexpr int FirstAnimationSet = 40301;  // one per set, in file order
}  // namespace command

struct MenuNode {
    enum class Kind { Command, Separator, Submenu };

    Kind kind = Kind::Command;
    int id = 0;               // commands only
    std::string text;         // commands and submenus (UTF-8)
    bool checkable = false;   // carries a check mark when chosen
    bool marked = false;      // marked at start
    std::vector<MenuNode> entries;  // a submenu's entries
    std::string accelerator;        // a command's keyboard shortcut, as "F" or "Ctrl+F"; most have none
    bool radio = false;             // one of a run of items of which exactly one is marked
    bool enabled = true;            // a menu that is greyed, with everything in it
};

// The nodes of a layout: an item, one with a check mark, one of a radio run
// (marked or not), a separator, a submenu. An accelerator is shown beside
// the item's text.
MenuNode MenuItem(int id, std::string text, std::string accelerator = {});
MenuNode MenuCheckItem(int id, std::string text, bool marked, std::string accelerator = {});
MenuNode MenuRadioItem(int id, std::string text, bool marked);
MenuNode MenuSeparator();
MenuNode MenuSubmenu(std::string text, std::vector<MenuNode> entries);

// The menus of the bar, left to right; each is a submenu node. The last,
// "Animation", is the one for no model: it is rebuilt for each model opened.
const std::vector<MenuNode>& MainMenuLayout();

// The command of the shortcut `accelerator` ("F", "Space"…) in `nodes`, or 0.
int CommandOfAccelerator(const std::vector<MenuNode>& nodes, std::string_view accelerator);

// Calls `visit` on every command of the layout, submenus included.
template <typename Visit>
void ForEachMenuCommand(const std::vector<MenuNode>& nodes, Visit&& visit)
{
    for (const MenuNode& node : nodes) {
        if (node.kind == MenuNode::Kind::Command) visit(node);
        if (node.kind == MenuNode::Kind::Submenu) ForEachMenuCommand(node.entries, visit);
    }
}

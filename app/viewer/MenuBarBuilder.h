// The main window's menu bar, built from the menu layout.
#pragma once

#include "app/MenuLayout.h"

#include <wx/menu.h>

#include <memory>
#include <vector>

std::unique_ptr<wxMenuBar> BuildMenuBar(const std::vector<MenuNode>& menus);
// The menu of the bar that has `menu`'s title, replaced by `menu` (greyed when it says so).
void ReplaceMenu(wxMenuBar& bar, const MenuNode& menu);
